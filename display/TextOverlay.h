#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace mirelo {

class WindowSurface;

// Text drawn once and laid onto the window as often as needed. The Hall of
// Fame strip goes onto the window after every redraw, single tiles included;
// laying down stored glyph pixels costs a few microseconds where drawing the
// text again costs a few hundred. At scale 2 the text is drawn at twice the
// font's size for a surface of scale 2; positions stay in the game's pixels.
class TextOverlay {
public:
    // Empties the overlay and sets the scale of the text added from now on.
    void Clear(int scale = 1);
    // Text with its top-left at `at`.
    void AddText(QPoint at, const QString& text, const QFont& font, QColor color);
    // Paints the glyph pixels onto the window, blended by their coverage, and
    // asks for the touched rectangle to be shown.
    void DrawOn(WindowSurface& surface) const;

    bool IsEmpty() const { return runs_.empty(); }
    // Every pixel the text may touch, in the game's pixels.
    QRect Bounds() const { return bounds_; }
    int Scale() const { return scale_; }

private:
    // A row of glyph pixels of one premultiplied colour.
    struct Run {
        int Y;
        int X;
        int Length;
        std::uint32_t Argb;
    };
    std::vector<Run> runs_; // in the surface's own pixels
    QRect bounds_;
    int scale_ = 1;
};

} // namespace mirelo
