#include "icons.h"

#include "fonts.h"
#include "geometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

// The icon is designed on a 128-unit square.
constexpr qreal kDesign = 128;
constexpr qreal kThickness = 12;
const QColor kFaceLight{255, 250, 234};
const QColor kFaceDeep{232, 218, 184};
const QColor kSideLight{222, 200, 156};
const QColor kSideDeep{168, 132, 86};
const QColor kOutline{96, 66, 36};

// A tile: face at `face`, its thickness showing down-left as in the game.
void paintTile(QPainter& p, const QRectF& face, qreal line) {
    const qreal r = face.width() * 0.1;
    QPainterPath side;
    side.addRoundedRect(face.translated(-kThickness, kThickness), r, r);
    QPainterPath sweep;
    sweep.moveTo(face.topLeft() + QPointF(0, r));
    sweep.lineTo(face.topLeft() + QPointF(-kThickness, kThickness + r));
    sweep.lineTo(face.bottomRight() + QPointF(-kThickness - r, kThickness));
    sweep.lineTo(face.bottomRight() + QPointF(-r, 0));
    sweep.lineTo(face.bottomLeft());
    sweep.closeSubpath();
    QLinearGradient g(face.topLeft(), face.bottomLeft() + QPointF(-kThickness, kThickness));
    g.setColorAt(0, kSideLight);
    g.setColorAt(1, kSideDeep);
    p.setPen(QPen(kOutline, line));
    p.setBrush(g);
    p.drawPath(side.united(sweep));
    QLinearGradient f(face.topLeft(), face.bottomRight());
    f.setColorAt(0, kFaceLight);
    f.setColorAt(1, kFaceDeep);
    p.setBrush(f);
    p.drawRoundedRect(face, r, r);
}

} // namespace

QImage drawAppIcon(const Fonts& fonts, int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kDesign, size / kDesign);
    // Outlines stay at least a pixel wide when the design is shrunk.
    const qreal line = std::max(3.0, kDesign / size * 1.2);
    const QRectF back(50, 2, 66, 86);
    const QRectF front(24, 28, 66, 86);
    paintTile(p, back, line);
    paintText(p, fonts.cjkBold, QStringLiteral("發"), back.adjusted(28, 10, -6, -40),
              QColor(22, 128, 58), 0, 1.0, QFont::Bold);
    paintTile(p, front, line);
    // Heavier strokes when small, so the character survives at 32 px.
    paintText(p, fonts.cjkBold, QStringLiteral("中"), front.adjusted(10, 10, -10, -10),
              QColor(200, 28, 36), kDesign / size * 0.8, 1.15, QFont::Bold);
    return img;
}

QImage drawNewGameIcon(int scale) {
    QImage img(geom::scaled(geom::kToolIconSize, scale), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QPointF c(8, 8);
    // White rim, green body with a lighter crown, white spark in the middle.
    p.setPen(QPen(QColor(20, 90, 30), 1.0));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 7.4, 7.4);
    QRadialGradient g(c + QPointF(-1.5, -2), 7);
    g.setColorAt(0, QColor(110, 220, 100));
    g.setColorAt(1, QColor(20, 130, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, 5.6, 5.6);
    QPainterPath star;
    for (int i = 0; i < 8; ++i) {
        const qreal r = i % 2 ? 1.1 : 3.6;
        const qreal a = i * M_PI / 4 - M_PI / 2;
        const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * r;
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(star);
    return img;
}

QImage drawNewGameDisabledIcon(int scale) {
    // Same shape, washed out to light greys at reduced opacity.
    QImage img = drawNewGameIcon(scale).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            const int grey = (qRed(c) * 11 + qGreen(c) * 16 + qBlue(c) * 5) / 32;
            const int soft = 96 + grey * 5 / 8;
            // A faint edge pixel stays faintly there, so both buttons keep one shape.
            const int alpha = qAlpha(c) > 0 ? std::max(1, qAlpha(c) * 3 / 4) : 0;
            line[x] = qRgba(soft, soft, soft, alpha);
        }
    }
    return img;
}

} // namespace artgen
