#include "symbol_canvas.h"

#include "geometry.h"
#include "palette.h"

#include <algorithm>

namespace artgen {
namespace {

// Below this coverage a pixel is left to the blank.
constexpr int kCoverageCutoff = 80;
// From this coverage on a pixel is drawn in full symbol colour.
constexpr int kSolidCoverage = 230;

QRgb blendEdge(QRgb premultiplied) {
    const int a = qAlpha(premultiplied);
    if (a < kCoverageCutoff)
        return qRgb(0, 0, 0);
    const int r = qRed(premultiplied) * 255 / a;
    const int g = qGreen(premultiplied) * 255 / a;
    const int b = qBlue(premultiplied) * 255 / a;
    // Ink weight rises from half at the cutoff to full at kSolidCoverage, so
    // thin strokes keep their colour instead of washing out.
    const int w =
        std::min(255, 128 + (a - kCoverageCutoff) * 127 / (kSolidCoverage - kCoverageCutoff));
    const QColor& n = ink::kEdgeBlend;
    const auto mix = [w](int c, int base) { return (c * w + base * (255 - w)) / 255; };
    QRgb out = qRgb(mix(r, n.red()), mix(g, n.green()), mix(b, n.blue()));
    // Pure black means "transparent" in the sheet; a symbol pixel may never be it.
    if ((out & 0xffffff) == 0)
        out = qRgb(1, 1, 1);
    return out;
}

} // namespace

SymbolCanvas::SymbolCanvas(int scale)
    : layer_(geom::kCellW * scale, geom::kCellH * scale, QImage::Format_ARGB32_Premultiplied) {
    layer_.fill(Qt::transparent);
    painter_.begin(&layer_);
    painter_.setRenderHint(QPainter::Antialiasing);
    // Symbols are designed on the scale-1 cell; a finer grid only refines them.
    painter_.scale(scale, scale);
    painter_.setClipRect(geom::kSymbolArea);
}

QImage SymbolCanvas::flatten() {
    if (painter_.isActive())
        painter_.end();
    QImage cell(layer_.size(), QImage::Format_RGB32);
    for (int y = 0; y < layer_.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(layer_.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(cell.scanLine(y));
        for (int x = 0; x < layer_.width(); ++x)
            dst[x] = blendEdge(src[x]);
    }
    return cell;
}

} // namespace artgen
