#include "Blit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace mirelo {

void Blit(QImage& dst, QPoint at, const QImage& src, QRect from, RasterOp op) {
    // Clip the source rectangle to the source, then the target to the destination.
    QRect source = from.intersected(src.rect());
    QPoint target = at + (source.topLeft() - from.topLeft());
    const QRect placed = QRect(target, source.size()).intersected(dst.rect());
    if (placed.isEmpty())
        return;
    source = QRect(source.topLeft() + (placed.topLeft() - target), placed.size());
    target = placed.topLeft();

    const int width = placed.width();
    for (int row = 0; row < placed.height(); ++row) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(src.constScanLine(source.top() + row)) +
                         source.left();
        auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(target.y() + row)) + target.x();
        switch (op) {
        case RasterOp::Copy:
            std::memmove(out, in, sizeof(std::uint32_t) * static_cast<std::size_t>(width));
            break;
        case RasterOp::And:
            for (int i = 0; i < width; ++i)
                out[i] &= in[i];
            break;
        case RasterOp::Or:
            for (int i = 0; i < width; ++i)
                out[i] |= in[i];
            break;
        }
    }
}

} // namespace mirelo
