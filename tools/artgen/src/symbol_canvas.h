#pragma once
// A transparent 40 x 50 layer (times the scale) that a tile symbol is painted
// on, and the step that turns it into a tile-sheet cell: symbol pixels in
// solid colour on pure black, ready for the game's AND/OR composition.

#include <QImage>
#include <QPainter>

namespace artgen {

class SymbolCanvas {
public:
    explicit SymbolCanvas(int scale);
    SymbolCanvas(const SymbolCanvas&) = delete;
    SymbolCanvas& operator=(const SymbolCanvas&) = delete;

    // Anti-aliased painter in scale-1 cell coordinates, clipped to the cell's
    // symbol area.
    QPainter& painter() { return painter_; }

    // Ends painting and returns the cell as RGB32. Pixels with too little
    // coverage become pure black (the blank shows there); the rest are blended
    // towards a light neutral by their coverage, so edges stay smooth on every
    // blank without a dark fringe.
    QImage flatten();

private:
    QImage layer_;
    QPainter painter_;
};

} // namespace artgen
