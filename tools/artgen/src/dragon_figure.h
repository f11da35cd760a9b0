#pragma once
// The coiling dragon on the "Dragons" background, drawn from curves alone.

#include <QColor>
#include <QPointF>

class QPainter;

namespace artgen::dragon {

// Low-contrast lacquer tones: a little lighter than the ground, never bright.
inline const QColor kBody{90, 20, 25};
inline const QColor kScale{114, 32, 33};
inline const QColor kLine{134, 46, 39};
inline const QColor kGold{148, 86, 42};

// A point on the body's centre line with its local axes.
struct Frame {
    QPointF at;
    QPointF tangent; // unit, towards the tail
    QPointF normal;  // unit, towards the back
    qreal radius;
};

// Centre line from head (t = 0) to tail (t = 1).
Frame bodyAt(qreal t);

// Legs, body, tail tuft and head, in that order.
void paintDragon(QPainter& p);

} // namespace artgen::dragon
