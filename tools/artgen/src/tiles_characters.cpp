// Character tiles: Cracks (numeral over 萬), Winds and Dragons.

#include "fonts.h"
#include "palette.h"
#include "tiles.h"

#include <QPainter>
#include <QPen>

namespace artgen {
namespace {

const QString kNumerals[] = {
    QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
    QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
    QStringLiteral("七"), QStringLiteral("八"), QStringLiteral("九"),
};
const QString kWinds[] = {QStringLiteral("東"), QStringLiteral("南"), QStringLiteral("西"),
                          QStringLiteral("北")};

// Numeral area on a Crack; the single stroke of 一 would fill it edge to edge,
// so strokes-only numerals get a narrower box than the rest.
constexpr QRectF kNumeralBox{6.5, 4, 27, 16};
constexpr QRectF kNarrowNumeralBox{8.5, 5.5, 23, 13};
constexpr QRectF kWanBox{5, 21, 30, 25.5};
constexpr qreal kNumeralBold = 0.5;
constexpr qreal kWanBold = 0.9;

constexpr QRectF kWindBox{4.5, 5, 31, 40};
constexpr qreal kWindBold = 1.2;

constexpr QRectF kDragonBox{5, 5, 30, 40};
constexpr qreal kDragonBold = 1.1;

void drawWhiteDragon(QPainter& p) {
    // A blue double frame with square corner studs.
    const QRectF outer(6.5, 6.5, 27, 37);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink::kBlue, 3.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(outer);
    p.setPen(QPen(ink::kSky, 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(outer.adjusted(4, 4, -4, -4));
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kBlue);
    const qreal s = 4;
    const QPointF inner[] = {{outer.left() + 4, outer.top() + 4},
                             {outer.right() - 4, outer.top() + 4},
                             {outer.left() + 4, outer.bottom() - 4},
                             {outer.right() - 4, outer.bottom() - 4}};
    for (const QPointF& c : inner)
        p.drawRect(QRectF(c.x() - s / 2, c.y() - s / 2, s, s));
}

} // namespace

void drawCrack(QPainter& p, int rank, const Fonts& fonts) {
    const bool strokesOnly = rank <= 3;
    // Numerals in a heavy face: thin brush strokes turn grey at this size.
    paintText(p, fonts.cjkBold, kNumerals[rank - 1], strokesOnly ? kNarrowNumeralBox : kNumeralBox,
              ink::kDark, kNumeralBold, 1.3, QFont::Bold);
    paintText(p, fonts.cjk, QStringLiteral("萬"), kWanBox, ink::kRed, kWanBold, 1.2);
}

void drawWind(QPainter& p, int index, const Fonts& fonts) {
    paintText(p, fonts.cjk, kWinds[index], kWindBox, ink::kNavy, kWindBold, 1.15);
}

void drawDragon(QPainter& p, int index, const Fonts& fonts) {
    switch (index) {
    case 0:
        paintText(p, fonts.cjk, QStringLiteral("中"), kDragonBox, ink::kRed, kDragonBold, 1.1);
        break;
    case 1:
        paintText(p, fonts.cjk, QStringLiteral("發"), kDragonBox, ink::kGreen, kDragonBold, 1.15);
        break;
    default:
        drawWhiteDragon(p);
        break;
    }
}

} // namespace artgen
