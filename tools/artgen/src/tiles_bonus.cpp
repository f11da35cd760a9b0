// Bonus tiles: four Flowers and four Seasons. Each carries a coloured motif,
// its character and its number, so no two look alike at a glance.

#include "fonts.h"
#include "palette.h"
#include "tiles.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cmath>

namespace artgen {
namespace {

const QString kFlowerNames[] = {QStringLiteral("梅"), QStringLiteral("蘭"), QStringLiteral("菊"),
                                QStringLiteral("竹")};
const QString kSeasonNames[] = {QStringLiteral("春"), QStringLiteral("夏"), QStringLiteral("秋"),
                                QStringLiteral("冬")};

constexpr QRectF kNumberBox{3.5, 3.5, 6.5, 9};
constexpr QRectF kNameBox{9, 30, 23, 16};
constexpr qreal kNameBold = 0.2;

QPointF polar(QPointF c, qreal r, qreal degrees) {
    const qreal a = degrees * M_PI / 180;
    return c + QPointF(std::cos(a), std::sin(a)) * r;
}

// A pointed leaf from base to tip, bulging by `width`.
QPainterPath leaf(QPointF base, QPointF tip, qreal width) {
    const QLineF l(base, tip);
    const QPointF n = (l.normalVector().unitVector().p2() - base) * width;
    QPainterPath path;
    path.moveTo(base);
    path.quadTo(l.pointAt(0.45) + n, tip);
    path.quadTo(l.pointAt(0.45) - n, base);
    return path;
}

void fillPath(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& line,
              qreal lineWidth = 0.7) {
    p.setPen(QPen(line, lineWidth));
    p.setBrush(fill);
    p.drawPath(path);
}

void drawPlum(QPainter& p) {
    p.setPen(QPen(ink::kBrown, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 28), QPointF(34, 5));
    p.setPen(QPen(ink::kBrown, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(27, 12), QPointF(33, 16));
    const QPointF c(19, 15);
    p.setPen(QPen(ink::kDeepRed, 0.6));
    p.setBrush(ink::kPink);
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(polar(c, 4.4, -90 + 72 * i), 3.9, 3.9);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kGold);
    p.drawEllipse(c, 2.3, 2.3);
    p.setBrush(ink::kPink);
    p.drawEllipse(QPointF(33, 17), 2.2, 2.2);
}

// A blade bending through ctrl, `width` at its widest.
QPainterPath blade(QPointF base, QPointF ctrl, QPointF tip, qreal width) {
    const QLineF chord(base, tip);
    const QPointF n = (chord.normalVector().unitVector().p2() - base) * width;
    QPainterPath path;
    path.moveTo(base);
    path.quadTo(ctrl + n, tip);
    path.quadTo(ctrl - n, base);
    return path;
}

void drawOrchid(QPainter& p) {
    // Long arching leaves from one clump, a purple bloom above them.
    fillPath(p, blade({19, 28}, {8, 22}, {6, 9}, 1.6), ink::kLeaf, ink::kDeepGreen);
    fillPath(p, blade({21, 28}, {33, 25}, {35, 12}, 1.6), ink::kLeaf, ink::kDeepGreen);
    fillPath(p, blade({20, 28}, {15, 20}, {13, 14}, 1.3), ink::kLeaf, ink::kDeepGreen);
    p.setPen(QPen(ink::kDeepGreen, 1.0));
    p.drawLine(QPointF(21, 27), QPointF(23, 17));
    const QPointF c(23, 12);
    for (qreal a : {-90.0, 160.0, 20.0})
        fillPath(p, leaf(c, polar(c, 8, a), 2.6), ink::kPurple, ink::kPurple.darker(160));
    fillPath(p, leaf(c, polar(c, 5.5, 90), 2.4), ink::kPink, ink::kPurple.darker(160));
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kGold);
    p.drawEllipse(c, 1.6, 1.6);
}

void drawChrysanthemum(QPainter& p) {
    const QPointF c(21.5, 15.5);
    fillPath(p, leaf({14, 27}, {8, 20}, 2.2), ink::kLeaf, ink::kDeepGreen);
    fillPath(p, leaf({27, 27}, {34, 22}, 2.2), ink::kLeaf, ink::kDeepGreen);
    constexpr int kPetals = 16;
    for (int i = 0; i < kPetals; ++i)
        fillPath(p, leaf(c, polar(c, 11, 360.0 * i / kPetals), 1.8), ink::kGold,
                 ink::kOrange.darker(130), 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kOrange);
    p.drawEllipse(c, 4.2, 4.2);
    p.setBrush(ink::kDeepRed);
    p.drawEllipse(c, 1.8, 1.8);
}

void drawBambooSprig(QPainter& p) {
    p.setPen(QPen(ink::kDeepGreen, 0.8));
    p.setBrush(ink::kGreen);
    p.drawRoundedRect(QRectF(13, 4.5, 4.4, 24), 2, 2);
    p.setPen(QPen(ink::kDeepGreen, 1.3));
    p.drawLine(QPointF(12.4, 12), QPointF(18, 12));
    p.drawLine(QPointF(12.4, 21), QPointF(18, 21));
    for (const auto& [b, t] :
         {std::pair{QPointF(17, 12), QPointF(34, 7)}, std::pair{QPointF(17, 13), QPointF(33, 17)},
          std::pair{QPointF(17, 21), QPointF(31, 27)}, std::pair{QPointF(13, 21), QPointF(8, 9)}})
        fillPath(p, leaf(b, t, 2.4), ink::kDeepGreen.lighter(130), ink::kDeepGreen);
}

void drawSprout(QPainter& p) {
    p.setPen(QPen(ink::kBrown, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 27), QPointF(33, 27));
    p.setPen(QPen(ink::kDeepGreen, 1.4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath stem;
    stem.moveTo(22, 27);
    stem.cubicTo(22, 21, 20, 17, 22, 12);
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    const QColor fresh(120, 200, 60);
    fillPath(p, leaf({21.5, 17}, {10, 10}, 3.6), fresh, ink::kDeepGreen);
    fillPath(p, leaf({22.5, 15}, {34, 7}, 3.6), fresh, ink::kDeepGreen);
    p.setPen(QPen(ink::kDeepRed, 0.6));
    p.setBrush(ink::kPink);
    p.drawEllipse(QPointF(22, 9.5), 2.6, 3.2);
}

void drawSun(QPainter& p) {
    const QPointF c(21.5, 15.5);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kOrange);
    constexpr int kRays = 12;
    for (int i = 0; i < kRays; ++i) {
        const qreal a = 360.0 * i / kRays;
        QPainterPath ray;
        ray.moveTo(polar(c, 6.5, a - 12));
        ray.lineTo(polar(c, 11.8, a));
        ray.lineTo(polar(c, 6.5, a + 12));
        ray.closeSubpath();
        p.drawPath(ray);
    }
    p.setPen(QPen(ink::kDeepRed, 0.8));
    p.setBrush(ink::kRed);
    p.drawEllipse(c, 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kGold);
    p.drawEllipse(c + QPointF(-2, -2), 2.4, 2.4);
}

void drawMapleLeaf(QPainter& p) {
    const QPointF c(21.5, 17);
    QPainterPath shape;
    // Five lobes, largest at the top.
    const qreal lobes[][2] = {{-90, 12}, {-30, 10}, {30, 7}, {150, 7}, {210, 10}};
    shape.moveTo(polar(c, 3.5, 120));
    for (const auto& lobe : lobes) {
        const qreal a = lobe[0], r = lobe[1];
        shape.lineTo(polar(c, r * 0.45, a - 28));
        shape.lineTo(polar(c, r * 0.8, a - 14));
        shape.lineTo(polar(c, r, a));
        shape.lineTo(polar(c, r * 0.8, a + 14));
        shape.lineTo(polar(c, r * 0.45, a + 28));
    }
    shape.closeSubpath();
    fillPath(p, shape, ink::kOrange, ink::kDeepRed, 0.8);
    p.setPen(QPen(ink::kDeepRed, 0.9, Qt::SolidLine, Qt::RoundCap));
    for (const auto& lobe : lobes)
        p.drawLine(c, polar(c, lobe[1] * 0.75, lobe[0]));
    p.drawLine(c, QPointF(20, 28));
}

void drawSnowflake(QPainter& p) {
    const QPointF c(21.5, 15.5);
    p.setPen(QPen(ink::kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        const qreal a = 60.0 * i - 90;
        p.drawLine(c, polar(c, 11.5, a));
        const QPointF mid = polar(c, 7, a);
        p.drawLine(mid, polar(mid, 3.6, a - 50));
        p.drawLine(mid, polar(mid, 3.6, a + 50));
    }
    p.setPen(QPen(ink::kSky, 1.0));
    p.setBrush(ink::kWhite);
    p.drawEllipse(c, 2.6, 2.6);
}

void drawLabels(QPainter& p, const Fonts& fonts, const QString& name, int number,
                const QColor& numberColor) {
    paintText(p, fonts.cjkBold, name, kNameBox, ink::kDark, kNameBold, 1.1, QFont::Bold);
    paintText(p, fonts.sans, QString::number(number), kNumberBox, numberColor, 0.0, 1.0,
              QFont::Bold);
}

} // namespace

void drawFlower(QPainter& p, int index, const Fonts& fonts) {
    switch (index) {
    case 1:
        drawPlum(p);
        break;
    case 2:
        drawOrchid(p);
        break;
    case 3:
        drawChrysanthemum(p);
        break;
    default:
        drawBambooSprig(p);
        break;
    }
    drawLabels(p, fonts, kFlowerNames[index - 1], index, ink::kRed);
}

void drawSeason(QPainter& p, int index, const Fonts& fonts) {
    switch (index) {
    case 1:
        drawSprout(p);
        break;
    case 2:
        drawSun(p);
        break;
    case 3:
        drawMapleLeaf(p);
        break;
    default:
        drawSnowflake(p);
        break;
    }
    drawLabels(p, fonts, kSeasonNames[index - 1], index, ink::kBlue);
}

} // namespace artgen
