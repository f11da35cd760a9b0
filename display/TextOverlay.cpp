#include "TextOverlay.h"

#include "WindowSurface.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace mirelo {

namespace {

constexpr Qt::Alignment TopLeft = Qt::AlignLeft | Qt::AlignTop;

// `src` premultiplied over opaque `dst`.
std::uint32_t Over(std::uint32_t src, std::uint32_t dst) {
    const std::uint32_t inverse = 255 - qAlpha(src);
    auto channel = [&](int shift) {
        const std::uint32_t d = (dst >> shift) & 0xFF;
        return (((src >> shift) & 0xFF) + (d * inverse + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

} // namespace

void TextOverlay::Clear(int scale) {
    runs_.clear();
    bounds_ = QRect();
    scale_ = scale;
}

void TextOverlay::AddText(QPoint at, const QString& text, const QFont& given, QColor color) {
    QFont font = given;
    if (scale_ != 1) {
        if (font.pixelSize() > 0)
            font.setPixelSize(font.pixelSize() * scale_);
        else
            font.setPointSizeF(font.pointSizeF() * scale_);
    }
    QRect box;
    {
        // Measured on a picture, as the window's own text is.
        QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&probe);
        painter.setFont(font);
        box = painter.boundingRect(QRect(at * scale_, QSize(1000, 100) * scale_), TopLeft, text);
    }
    if (box.isEmpty())
        return;
    QImage glyphs(box.size(), QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter painter(&glyphs);
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(QPoint(0, 0), box.size()), TopLeft, text);
    }
    for (int y = 0; y < glyphs.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(glyphs.constScanLine(y));
        for (int x = 0; x < glyphs.width();) {
            const std::uint32_t argb = row[x];
            int end = x + 1;
            while (end < glyphs.width() && row[end] == argb)
                ++end;
            if (qAlpha(argb) != 0)
                runs_.push_back({box.top() + y, box.left() + x, end - x, argb});
            x = end;
        }
    }
    // Outward to whole pixels of the game.
    const QPoint from(box.left() / scale_, box.top() / scale_);
    const QPoint to((box.right() + scale_) / scale_, (box.bottom() + scale_) / scale_);
    bounds_ |= QRect(from, to - QPoint(1, 1));
}

void TextOverlay::DrawOn(WindowSurface& surface) const {
    Q_ASSERT(surface.Scale() == scale_);
    QImage& image = surface.Surface();
    const QRect clip = image.rect();
    for (const Run& run : runs_) {
        if (run.Y < clip.top() || run.Y > clip.bottom())
            continue;
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(run.Y));
        const int from = std::max(run.X, clip.left());
        const int to = std::min(run.X + run.Length, clip.right() + 1);
        if (from >= to)
            continue;
        if (qAlpha(run.Argb) == 255) {
            std::fill(row + from, row + to, run.Argb);
        } else {
            for (int x = from; x < to; ++x)
                row[x] = Over(run.Argb, row[x]);
        }
    }
    if (!runs_.empty())
        surface.update(bounds_ & QRect(QPoint(), clip.size() / scale_));
}

} // namespace mirelo
