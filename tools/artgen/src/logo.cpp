#include "logo.h"

#include "compose.h"
#include "fonts.h"
#include "geometry.h"
#include "texture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>

namespace artgen {
namespace {

using geom::kLogoSize;

constexpr std::uint64_t kSeed = 0x4c6f676fULL;
const QColor kFeltTop{18, 84, 78};
const QColor kFeltBottom{6, 40, 40};
const QColor kGoldLight{255, 240, 170};
const QColor kGoldMid{226, 166, 44};
const QColor kGoldDeep{150, 92, 16};
const QColor kTitleOutline{60, 30, 4};
constexpr QRectF kTitleBox{14, 12, 225, 58};
constexpr int kTileScale = 2; // tiles are composed at full size, then halved
constexpr int kRowTiles = 5;
const int kRowPictures[kRowTiles] = {19, 10, 36, 1, 39};

void paintFelt(QImage& img, int scale) {
    const ValueNoise n(kSeed);
    for (int y = 0; y < img.height(); ++y) {
        const double v = designCoord(y, scale);
        for (int x = 0; x < img.width(); ++x) {
            const double u = designCoord(x, scale);
            const double t =
                v / double(kLogoSize.height() - 1) + (n.fbm(u / 30.0, v / 30.0, 3) - 0.5) * 0.3;
            img.setPixel(x, y, mix(kFeltTop, kFeltBottom, std::clamp(t, 0.0, 1.0)).rgb());
        }
    }
    addGrain(img, kSeed + 1, 2);
}

void paintFrame(QPainter& p, const QSize& size) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGoldDeep, 2));
    p.drawRoundedRect(QRectF(2, 2, size.width() - 4, size.height() - 4), 6, 6);
    p.setPen(QPen(kGoldMid, 1));
    p.drawRoundedRect(QRectF(5.5, 5.5, size.width() - 11, size.height() - 11), 4, 4);
}

void paintTitle(QPainter& p, const Fonts& fonts) {
    const QPainterPath title =
        fitInk(textPath(fonts.serif, QStringLiteral("MIRELO"), QFont::Bold), kTitleBox);
    p.fillPath(title.translated(3, 3), QColor(0, 12, 10, 170));
    QLinearGradient gold(0, kTitleBox.top(), 0, kTitleBox.bottom());
    gold.setColorAt(0.0, kGoldLight);
    gold.setColorAt(0.45, kGoldMid);
    gold.setColorAt(0.55, kGoldDeep);
    gold.setColorAt(1.0, kGoldMid);
    p.setPen(QPen(kTitleOutline, 1.4));
    p.setBrush(gold);
    p.drawPath(title);
    // A thin highlight inside the upper half of the letters.
    p.save();
    p.setClipRect(QRectF(0, 0, kLogoSize.width(), kTitleBox.center().y() - 4));
    p.setPen(QPen(QColor(255, 250, 220, 120), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(title.translated(0.6, 0.6));
    p.restore();
}

// A short row of tiles, composed as the game does at full size, then halved
// so they sit under the title as a small motif.
void paintTileRow(QImage& logo, const TileComposer& tiles) {
    using namespace geom;
    const int k = tiles.scale();
    const int rowW = kRowTiles * kCellW + kEdgeDepth;
    const int rowH = kCellH + kEdgeDepth;
    // In scale-1 pixels, then in the logo's own.
    const QPoint at((kLogoSize.width() - rowW / kTileScale) / 2, 80);
    const QRect area(at, QSize(rowW / kTileScale, rowH / kTileScale));
    const QRect pixels = scaled(area, k);
    QImage big =
        logo.copy(pixels).scaled(pixels.size() * kTileScale).convertToFormat(QImage::Format_RGB32);
    QPainter p(&big);
    for (int i = kRowTiles - 1; i >= 0; --i)
        tiles.drawTile(p, QPoint(kEdgeDepth + i * kCellW, 0) * k, kRowPictures[i], Style::Wood);
    p.end();
    QPainter q(&logo);
    q.drawImage(pixels, big.scaled(pixels.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    q.setRenderHint(QPainter::Antialiasing);
    q.scale(k, k);
    q.setPen(QPen(kGoldMid, 1.2));
    const qreal y = area.center().y() + 0.5;
    q.drawLine(QPointF(20, y), QPointF(area.left() - 10, y));
    q.drawLine(QPointF(area.right() + 10, y), QPointF(kLogoSize.width() - 20, y));
    q.setBrush(kGoldMid);
    q.setPen(Qt::NoPen);
    q.drawEllipse(QPointF(area.left() - 7, y), 2, 2);
    q.drawEllipse(QPointF(area.right() + 7, y), 2, 2);
}

} // namespace

QImage drawLogo(const Fonts& fonts, const TileComposer& tiles) {
    const int k = tiles.scale();
    QImage img(geom::scaled(kLogoSize, k), QImage::Format_RGB32);
    paintFelt(img, k);
    paintTileRow(img, tiles);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    paintFrame(p, kLogoSize);
    paintTitle(p, fonts);
    return img;
}

} // namespace artgen
