#pragma once

#include <QImage>
#include <QRect>

namespace mirelo {

// The three raster operations the board is composed with.
enum class RasterOp {
    Copy, // SRCCOPY: destination = source
    And,  // SRCAND: destination = destination AND source
    Or,   // SRCPAINT: destination = destination OR source
};

// Copies `from` of `src` to `at` in `dst` with `op`, clipped to both images.
// Both images must be Format_RGB32. A plain loop over words: exact, and far
// cheaper than a QPainter per tile for the few hundred small copies of a redraw.
void Blit(QImage& dst, QPoint at, const QImage& src, QRect from, RasterOp op);

} // namespace mirelo
