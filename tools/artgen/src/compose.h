#pragma once
// Draws tiles exactly the way the game does: blank copied, mask ANDed,
// picture ORed; the edge band likewise, 6 px left of the face. Works on the
// sheets of either scale; positions are then in that scale's pixels.

#include "geometry.h"

#include <QImage>
#include <QPoint>

class QPainter;

namespace artgen {

class TileComposer {
public:
    TileComposer(const QImage& tileSheet, const QImage& maskSheet, int scale);

    int scale() const { return scale_; }

    // Edge band then face, face's top-left at `face`. The painter's device
    // must be an RGB32 image, as raster operations need it.
    void drawTile(QPainter& p, QPoint face, int picture, geom::Style style) const;
    void drawEdge(QPainter& p, QPoint face) const;
    void drawFace(QPainter& p, QPoint face, int picture, geom::Style style) const;

    // A finished 40 x 50 face (times the scale) on its own, for previews.
    QImage face(int picture, geom::Style style) const;

    static geom::Style pickedStyle(geom::Style s);
    static geom::Style hintedStyle(geom::Style s);

private:
    QImage sheet_;
    QImage mask_;
    int scale_;
};

} // namespace artgen
