#pragma once
// Blank tile faces (one per style) and the edge band that makes stacked
// tiles look thick.

#include "geometry.h"

#include <QImage>

namespace artgen {

// Full 40 x 50 blank face of a style, RGB32.
QImage drawBlank(geom::Style style);

// 46 x 56 edge picture: the band in side colours, black elsewhere.
QImage drawEdgePicture();

// 46 x 56 edge mask: black on the band, white elsewhere.
QImage drawEdgeMask();

} // namespace artgen
