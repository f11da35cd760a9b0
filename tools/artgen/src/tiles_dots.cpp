// Dot tiles: ringed circles in the traditional layouts, a rosette on the 1.

#include "palette.h"
#include "tiles.h"

#include <QPainter>
#include <QPen>
#include <cmath>

namespace artgen {
namespace {

struct Dot {
    QPointF at;
    QColor color;
};

// A coin: coloured disc, white ring, coloured core, white eye.
void drawDot(QPainter& p, const Dot& d, qreal r) {
    p.setPen(QPen(d.color.darker(150), 0.8));
    p.setBrush(d.color);
    p.drawEllipse(d.at, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kWhite);
    p.drawEllipse(d.at, r * 0.68, r * 0.68);
    p.setBrush(d.color);
    p.drawEllipse(d.at, r * 0.5, r * 0.5);
    p.setBrush(ink::kWhite);
    p.drawEllipse(d.at, r * 0.2, r * 0.2);
}

void drawDotSet(QPainter& p, std::initializer_list<Dot> dots, qreal r) {
    for (const Dot& d : dots)
        drawDot(p, d, r);
}

void drawRosette(QPainter& p) {
    const QPointF c(20, 25);
    p.setPen(QPen(ink::kDeepGreen, 0.9));
    p.setBrush(ink::kGreen);
    p.drawEllipse(c, 15.6, 15.6);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kWhite);
    p.drawEllipse(c, 13.4, 13.4);
    // Ring of petals.
    constexpr int kPetals = 12;
    p.setBrush(ink::kBlue);
    for (int i = 0; i < kPetals; ++i) {
        const qreal a = 2 * M_PI * i / kPetals;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * 10.2, 2.7, 2.7);
    }
    p.setBrush(ink::kWhite);
    p.drawEllipse(c, 7.6, 7.6);
    p.setPen(QPen(ink::kDeepRed, 0.8));
    p.setBrush(ink::kRed);
    p.drawEllipse(c, 6.6, 6.6);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kWhite);
    p.drawEllipse(c, 3.6, 3.6);
    p.setBrush(ink::kGreen);
    p.drawEllipse(c, 2.2, 2.2);
}

} // namespace

void drawDots(QPainter& p, int rank) {
    const QColor g = ink::kGreen;
    const QColor b = ink::kBlue;
    const QColor r = ink::kRed;
    switch (rank) {
    case 1:
        drawRosette(p);
        break;
    case 2:
        drawDotSet(p, {{{20, 14.5}, g}, {{20, 35.5}, b}}, 9.0);
        break;
    case 3:
        drawDotSet(p, {{{10.5, 11}, b}, {{20, 25}, r}, {{29.5, 39}, g}}, 7.0);
        break;
    case 4:
        drawDotSet(p, {{{12, 15}, b}, {{28, 15}, g}, {{12, 35}, g}, {{28, 35}, b}}, 7.6);
        break;
    case 5:
        drawDotSet(p,
                   {{{10.5, 11.5}, b},
                    {{29.5, 11.5}, g},
                    {{20, 25}, r},
                    {{10.5, 38.5}, g},
                    {{29.5, 38.5}, b}},
                   6.6);
        break;
    case 6:
        drawDotSet(p,
                   {{{12.5, 10}, g},
                    {{27.5, 10}, g},
                    {{12.5, 25}, r},
                    {{27.5, 25}, r},
                    {{12.5, 40}, r},
                    {{27.5, 40}, r}},
                   6.5);
        break;
    case 7:
        drawDotSet(p,
                   {{{9, 8.6}, g},
                    {{20, 14.2}, g},
                    {{31, 19.8}, g},
                    {{13.5, 30.2}, r},
                    {{26.5, 30.2}, r},
                    {{13.5, 41.4}, r},
                    {{26.5, 41.4}, r}},
                   5.4);
        break;
    case 8:
        drawDotSet(p,
                   {{{13, 8.6}, b},
                    {{27, 8.6}, b},
                    {{13, 19.5}, b},
                    {{27, 19.5}, b},
                    {{13, 30.5}, b},
                    {{27, 30.5}, b},
                    {{13, 41.4}, b},
                    {{27, 41.4}, b}},
                   5.4);
        break;
    default:
        drawDotSet(p,
                   {{{9.3, 10}, b},
                    {{20, 10}, b},
                    {{30.7, 10}, b},
                    {{9.3, 25}, r},
                    {{20, 25}, r},
                    {{30.7, 25}, r},
                    {{9.3, 40}, g},
                    {{20, 40}, g},
                    {{30.7, 40}, g}},
                   5.3);
        break;
    }
}

} // namespace artgen
