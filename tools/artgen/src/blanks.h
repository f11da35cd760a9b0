#pragma once
// Blank tile faces (one per style) and the edge band that makes stacked
// tiles look thick.

#include "geometry.h"

#include <QImage>

namespace artgen {

// Full 40 x 50 blank face of a style times the scale, RGB32.
QImage drawBlank(geom::Style style, int scale);

// 46 x 56 edge picture times the scale: the band in side colours, black
// elsewhere.
QImage drawEdgePicture(int scale);

// 46 x 56 edge mask times the scale: black on the band, white elsewhere.
QImage drawEdgeMask(int scale);

} // namespace artgen
