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

    // Fetch the pixel pointers once: scanLine() checks for sharing on every call.
    const std::size_t width = static_cast<std::size_t>(placed.width());
    const qsizetype inStride = src.bytesPerLine();
    const qsizetype outStride = dst.bytesPerLine();
    const int inBytes = src.depth() / 8;
    const uchar* inRow = src.constBits() + source.top() * inStride + source.left() * inBytes;
    uchar* outRow = dst.bits() + target.y() * outStride + target.x() * 4;
    for (int row = 0; row < placed.height(); ++row, inRow += inStride, outRow += outStride) {
        auto* __restrict out = reinterpret_cast<std::uint32_t*>(outRow);
        if (inBytes == 1) {
            // Grey g is 0xffgggggg in Format_RGB32.
            const uchar* __restrict in = inRow;
            const auto grey = [](uchar g) { return 0xff000000u | g * 0x010101u; };
            switch (op) {
            case RasterOp::Copy:
                for (std::size_t i = 0; i < width; ++i)
                    out[i] = grey(in[i]);
                break;
            case RasterOp::And:
                for (std::size_t i = 0; i < width; ++i)
                    out[i] &= grey(in[i]);
                break;
            case RasterOp::Or:
                for (std::size_t i = 0; i < width; ++i)
                    out[i] |= grey(in[i]);
                break;
            }
            continue;
        }
        const auto* __restrict in = reinterpret_cast<const std::uint32_t*>(inRow);
        switch (op) {
        case RasterOp::Copy:
            std::memmove(out, in, sizeof(std::uint32_t) * width);
            break;
        case RasterOp::And:
            for (std::size_t i = 0; i < width; ++i)
                out[i] &= in[i];
            break;
        case RasterOp::Or:
            for (std::size_t i = 0; i < width; ++i)
                out[i] |= in[i];
            break;
        }
    }
}

} // namespace mirelo
