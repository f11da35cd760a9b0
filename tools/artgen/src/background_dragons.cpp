// "Dragons" background: dark red lacquer with a coiling dragon chasing a
// pearl among clouds, all drawn procedurally and in low contrast.

#include "backgrounds.h"
#include "dragon_figure.h"
#include "geometry.h"
#include "texture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cmath>

namespace artgen {
namespace {

constexpr std::uint64_t kSeed = 0x447261676fULL;
const QColor kLacquerDark{46, 7, 11};
const QColor kLacquerLight{76, 14, 20};
const QColor kCloud{84, 20, 26};
const QColor kCloudLine{110, 34, 34};

void paintLacquer(QImage& img, int scale) {
    const ValueNoise n(kSeed);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double v = designCoord(y, scale);
        for (int x = 0; x < img.width(); ++x) {
            const double u = designCoord(x, scale);
            const double t = std::clamp(n.fbm(u / 170.0, v / 120.0, 5) * 1.3 - 0.15, 0.0, 1.0);
            line[x] = mix(kLacquerDark, kLacquerLight, t).rgb();
        }
    }
}

// A cloud: a row of puffs with curled ends.
void paintCloud(QPainter& p, QPointF at, qreal size, bool mirrored) {
    p.save();
    p.translate(at);
    p.scale(mirrored ? -size : size, size);
    QPainterPath puffs;
    const QPointF lobes[] = {{-1.6, 0.2}, {-0.8, -0.35}, {0.1, -0.55}, {1.0, -0.3}, {1.7, 0.2}};
    const qreal radii[] = {0.55, 0.7, 0.8, 0.7, 0.5};
    for (int i = 0; i < 5; ++i)
        puffs.addEllipse(lobes[i], radii[i], radii[i]);
    puffs.addRoundedRect(QRectF(-2.1, -0.1, 4.3, 0.75), 0.37, 0.37);
    puffs = puffs.simplified();
    p.setPen(QPen(kCloudLine, 2.2 / size));
    p.setBrush(kCloud);
    p.drawPath(puffs);
    // Curls inside the end lobes and one in the crown.
    p.setBrush(Qt::NoBrush);
    for (int i : {0, 2, 4}) {
        QPainterPath curl;
        const QPointF c = lobes[i];
        const qreal r = radii[i] * 0.65;
        for (int k = 0; k <= 40; ++k) {
            const qreal a = k / 40.0 * 3.5 * M_PI;
            const qreal rr = r * (1 - k / 48.0);
            const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * rr;
            k == 0 ? curl.moveTo(pt) : curl.lineTo(pt);
        }
        p.drawPath(curl);
    }
    p.restore();
}

void paintPearl(QPainter& p, QPointF c, qreal r) {
    p.setPen(QPen(dragon::kLine, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        QPainterPath flame;
        const QPointF d(std::cos(a), std::sin(a));
        const QPointF n(-d.y(), d.x());
        flame.moveTo(c + d * r * 1.1);
        flame.quadTo(c + d * r * 1.6 + n * r * 0.4, c + d * r * 2.0 - n * r * 0.1);
        p.drawPath(flame);
    }
    p.setPen(QPen(dragon::kGold, 1.6));
    p.setBrush(dragon::kScale);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(dragon::kLine, 1.2));
    p.drawArc(QRectF(c.x() - r * 0.55, c.y() - r * 0.55, r * 1.1, r * 1.1), 30 * 16, 200 * 16);
}

} // namespace

QImage drawDragonsBackground(const Fonts& fonts, int scale) {
    QImage img(geom::scaled(geom::kBackgroundSize, scale), QImage::Format_RGB32);
    paintLacquer(img, scale);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        Rng rng(kSeed + 1);
        const QPointF clouds[] = {{110, 80},  {420, 60}, {610, 120}, {260, 400},
                                  {560, 410}, {80, 330}, {380, 250}};
        for (const QPointF& c : clouds)
            paintCloud(p, c + QPointF(rng.range(-15, 15), rng.range(-10, 10)), rng.range(17, 26),
                       rng.below(2) == 1);
        dragon::paintDragon(p);
        paintPearl(p, dragon::bodyAt(0).at + QPointF(-105, -25), 13);
    }
    addVignette(img, 0.5);
    addGrain(img, kSeed + 2, 3);
    paintScoreBand(img, fonts, {QStringLiteral("龍"), QStringLiteral("雲"), QStringLiteral("珠")},
                   kSeed + 3, scale);
    return img;
}

} // namespace artgen
