// Bamboo tiles: sticks in the traditional layouts, a bird on the 1.

#include "palette.h"
#include "tiles.h"

#include <QLineF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

struct Stick {
    QPointF top;
    QPointF bottom;
    QColor color;
};

constexpr qreal kStickWidth = 6.4;

// One bamboo stick with joints at both ends and in the middle.
void drawStick(QPainter& p, const Stick& s, qreal width = kStickWidth) {
    const QLineF axis(s.top, s.bottom);
    const qreal len = axis.length();
    p.save();
    p.translate(s.top);
    // Local y runs from top to bottom.
    p.rotate(std::atan2(-axis.dx(), axis.dy()) * 180 / M_PI);
    const qreal hw = width / 2;
    const QColor dark = s.color.darker(190);
    // Round stalk: dark edges, light band left of centre.
    QLinearGradient round(-hw, 0, hw, 0);
    round.setColorAt(0.0, s.color.darker(130));
    round.setColorAt(0.35, s.color.lighter(150));
    round.setColorAt(0.6, s.color);
    round.setColorAt(1.0, s.color.darker(140));
    QPainterPath body;
    body.addRoundedRect(QRectF(-hw, 0, width, len), hw * 0.8, hw * 0.8);
    p.setPen(QPen(dark, 0.9));
    p.setBrush(round);
    p.drawPath(body);
    // Joints at the ends and in the middle: dark rings a little wider than the stalk.
    const qreal jw = width * 1.2;
    const qreal jh = std::max(1.3, len * 0.075);
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    for (qreal at : {jh / 2 + 0.3, len / 2, len - jh / 2 - 0.3})
        p.drawRoundedRect(QRectF(-jw / 2, at - jh / 2, jw, jh), jh / 2, jh / 2);
    p.restore();
}

void drawSticks(QPainter& p, std::initializer_list<Stick> sticks, qreal width = kStickWidth) {
    for (const Stick& s : sticks)
        drawStick(p, s, width);
}

// Column helpers: a stick centred on x spanning y0..y1.
Stick col(qreal x, qreal y0, qreal y1, const QColor& c) {
    return {{x, y0}, {x, y1}, c};
}

void drawBird(QPainter& p) {
    // Perch.
    drawStick(p, {{6, 43}, {34, 43}, ink::kBrown.lighter(130)}, 3.2);
    // Tail feathers fanning down-right, each with an eye spot.
    const QPointF tailRoot(22, 30);
    const QPointF tips[] = {{35.5, 34}, {33.5, 41.5}, {27.5, 44.5}};
    for (const QPointF& tip : tips) {
        QPainterPath f;
        const QLineF l(tailRoot, tip);
        const QPointF n = l.normalVector().unitVector().p2() - l.p1();
        f.moveTo(tailRoot);
        f.quadTo(l.pointAt(0.6) + n * 2.6, tip);
        f.quadTo(l.pointAt(0.6) - n * 2.6, tailRoot);
        p.setPen(QPen(ink::kDeepGreen, 0.7));
        p.setBrush(ink::kBlue);
        p.drawPath(f);
        p.setPen(Qt::NoPen);
        p.setBrush(ink::kGold);
        p.drawEllipse(l.pointAt(0.8), 1.9, 1.9);
        p.setBrush(ink::kRed);
        p.drawEllipse(l.pointAt(0.8), 1.0, 1.0);
    }
    // Body.
    QPainterPath body;
    body.moveTo(9, 15);
    body.cubicTo(8, 23, 13, 32, 21, 33);
    body.cubicTo(27, 33, 28, 27, 25, 23);
    body.cubicTo(21, 18, 16, 17, 14, 13);
    body.closeSubpath();
    p.setPen(QPen(ink::kDeepGreen, 0.9));
    p.setBrush(ink::kGreen);
    p.drawPath(body);
    // Wing.
    QPainterPath wing;
    wing.moveTo(13.5, 21);
    wing.cubicTo(17, 20, 24, 23, 26, 30);
    wing.cubicTo(20, 31, 15, 27, 13.5, 21);
    p.setPen(QPen(ink::kDeepRed, 0.7));
    p.setBrush(ink::kRed);
    p.drawPath(wing);
    // Head, crest, beak, eye.
    p.setPen(QPen(ink::kDeepGreen, 0.9));
    p.setBrush(ink::kGreen);
    p.drawEllipse(QPointF(11.5, 12.5), 4.6, 4.3);
    p.setPen(QPen(ink::kRed, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 8.5), QPointF(9, 4.5));
    p.drawLine(QPointF(12.5, 8.3), QPointF(13, 4.2));
    p.drawLine(QPointF(13.8, 9), QPointF(16.5, 5.5));
    QPainterPath beak;
    beak.moveTo(7.6, 11.2);
    beak.lineTo(3.4, 14.2);
    beak.lineTo(7.9, 14.6);
    beak.closeSubpath();
    p.setPen(QPen(ink::kBrown, 0.6));
    p.setBrush(ink::kGold);
    p.drawPath(beak);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kWhite);
    p.drawEllipse(QPointF(10.6, 11.6), 1.5, 1.5);
    p.setBrush(ink::kDark);
    p.drawEllipse(QPointF(10.3, 11.6), 0.8, 0.8);
    // Legs.
    p.setPen(QPen(ink::kDeepRed, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 32), QPointF(16, 41.5));
    p.drawLine(QPointF(20, 32.5), QPointF(20.5, 41.5));
}

} // namespace

void drawBamboo(QPainter& p, int rank) {
    const QColor g = ink::kGreen;
    const QColor b = ink::kBlue;
    const QColor r = ink::kRed;
    // Two rows of full-height sticks, or three rows of short ones.
    constexpr qreal top0 = 4.5, top1 = 22.5, bot0 = 27.5, bot1 = 45.5;
    constexpr qreal r0 = 4, r1 = 16.6, r2 = 18.2, r3 = 30.8, r4 = 32.4, r5 = 45.8;
    switch (rank) {
    case 1:
        drawBird(p);
        break;
    case 2:
        drawSticks(p, {col(20, top0, top1, b), col(20, bot0, bot1, g)});
        break;
    case 3:
        drawSticks(p, {col(20, top0, top1, b), col(13, bot0, bot1, g), col(27, bot0, bot1, g)});
        break;
    case 4:
        drawSticks(p, {col(13, top0, top1, b), col(27, top0, top1, g), col(13, bot0, bot1, g),
                       col(27, bot0, bot1, b)});
        break;
    case 5:
        drawSticks(p, {col(10, top0, top1, g), col(30, top0, top1, b), col(10, bot0, bot1, b),
                       col(30, bot0, bot1, g), col(20, 15.5, 34.5, r)});
        break;
    case 6:
        drawSticks(p, {col(9.5, top0, top1, b), col(20, top0, top1, b), col(30.5, top0, top1, b),
                       col(9.5, bot0, bot1, g), col(20, bot0, bot1, g), col(30.5, bot0, bot1, g)});
        break;
    case 7:
        drawSticks(p,
                   {col(20, r0, r1, r), col(9.5, r2, r3, g), col(20, r2, r3, g),
                    col(30.5, r2, r3, g), col(9.5, r4, r5, b), col(20, r4, r5, b),
                    col(30.5, r4, r5, b)},
                   5.8);
        break;
    case 8:
        // Outer sticks upright; inner ones lean together: ^ on top, v below.
        drawSticks(p,
                   {col(6.8, top0, top1, g),
                    col(33.2, top0, top1, g),
                    {{18.2, top0}, {12.6, top1}, b},
                    {{21.8, top0}, {27.4, top1}, b},
                    col(6.8, bot0, bot1, g),
                    col(33.2, bot0, bot1, g),
                    {{12.6, bot0}, {18.2, bot1}, b},
                    {{27.4, bot0}, {21.8, bot1}, b}},
                   5.4);
        break;
    default:
        // Three rows of three, the middle column red.
        for (int row = 0; row < 3; ++row) {
            const qreal y0 = 4 + row * 14.2, y1 = y0 + 12.6;
            drawSticks(p, {col(9.5, y0, y1, g), col(20, y0, y1, r), col(30.5, y0, y1, b)}, 5.8);
        }
        break;
    }
}

} // namespace artgen
