#pragma once
// Assembles the tile sheet (pictures, blanks, edge) and derives its mask.

#include <QImage>

namespace artgen {

struct Fonts;

// 360 x 306 RGB32 times the scale: 42 pictures on black, three blanks, edge
// picture and mask.
QImage buildTileSheet(const Fonts& fonts, int scale);

// 360 x 250 times the scale: black where a picture cell is not pure black,
// white elsewhere.
QImage buildMaskSheet(const QImage& tileSheet, int scale);

} // namespace artgen
