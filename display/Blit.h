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
// `dst` must be Format_RGB32; `src` Format_RGB32, or Format_Grayscale8 for a
// mask, each byte standing for the grey pixel it would be in Format_RGB32 (a
// quarter of the memory, the same result). A plain loop over words: exact, and
// far cheaper than a QPainter per tile for the few hundred small copies of a
// redraw.
void Blit(QImage& dst, QPoint at, const QImage& src, QRect from, RasterOp op);

// The same copy with `at` and `from` in logical pixels, onto and from images
// drawn `scale` times finer: every length is multiplied by the scale, so the
// game's coordinates stay the same at every scale.
inline void Blit(QImage& dst, QPoint at, const QImage& src, QRect from, RasterOp op, int scale) {
    Blit(dst, at * scale, src, QRect(from.topLeft() * scale, from.size() * scale), op);
}

} // namespace mirelo
