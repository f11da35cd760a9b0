#include "dragon_figure.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cmath>
#include <vector>

namespace artgen::dragon {
namespace {

constexpr int kSteps = 260;

QPointF centre(qreal u) {
    // One and a half waves across the board, head on the first crest.
    const qreal x = 160 + 480 * u;
    const qreal y = 225 - 105 * std::cos(2 * M_PI * 1.5 * u) * (0.75 + 0.25 * u);
    return {x, y};
}

QPointF unit(QPointF v) {
    return v / std::hypot(v.x(), v.y());
}

QPainterPath outlineOf(const std::vector<Frame>& frames) {
    QPainterPath outline;
    outline.moveTo(frames.front().at + frames.front().normal * frames.front().radius);
    for (const Frame& f : frames)
        outline.lineTo(f.at + f.normal * f.radius);
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
        outline.lineTo(it->at - it->normal * it->radius);
    outline.closeSubpath();
    return outline;
}

void paintFins(QPainter& p, const std::vector<Frame>& frames) {
    p.setPen(QPen(kLine, 1.2));
    p.setBrush(kScale);
    for (int i = 8; i < kSteps - 8; i += 7) {
        const Frame& f = frames[i];
        const QPointF base = f.at + f.normal * f.radius * 0.9;
        QPainterPath fin;
        fin.moveTo(base - f.tangent * f.radius * 0.4);
        fin.quadTo(base + f.normal * f.radius * 0.3,
                   base + f.normal * f.radius * 0.55 + f.tangent * f.radius * 0.35);
        fin.lineTo(base + f.tangent * f.radius * 0.35);
        fin.closeSubpath();
        p.drawPath(fin);
    }
}

void paintScales(QPainter& p, const std::vector<Frame>& frames, const QPainterPath& outline) {
    p.save();
    p.setClipPath(outline);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kScale, 1.3));
    for (int i = 2; i < kSteps; i += 3) {
        const Frame& f = frames[i];
        const qreal s = std::max(2.5, f.radius * 0.3);
        const int across = static_cast<int>(f.radius / s) + 1;
        const qreal shift = (i / 3) % 2 ? 0.5 : 0.0;
        const qreal angle = std::atan2(-f.tangent.y(), f.tangent.x()) * 180 / M_PI;
        for (int k = -across; k <= across; ++k) {
            const QPointF c = f.at + f.normal * ((k + shift) * s * 1.15);
            p.drawArc(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s), int((angle + 90) * 16), 180 * 16);
        }
    }
    // Belly plates: short curved bars along the underside.
    p.setPen(QPen(kGold, 1.1));
    for (int i = 4; i < kSteps - 10; i += 4) {
        const Frame& f = frames[i];
        QPainterPath plate;
        plate.moveTo(f.at - f.normal * f.radius * 0.98);
        plate.quadTo(f.at - f.normal * f.radius * 0.75 + f.tangent * f.radius * 0.12,
                     f.at - f.normal * f.radius * 0.55);
        p.drawPath(plate);
    }
    p.restore();
}

// A bent leg ending in four spread claws.
void paintLeg(QPainter& p, qreal t, qreal reach, qreal bend) {
    const Frame f = bodyAt(t);
    const qreal r = std::max(f.radius, 12.0);
    const QPointF down = -f.normal;
    const QPointF hip = f.at + down * f.radius * 0.5;
    const QPointF elbow = hip + down * r * reach + f.tangent * r * bend;
    const QPointF wrist = elbow + down * r * 0.5 - f.tangent * r * bend * 1.3;
    // Limb as a tapering outline along a quadratic curve.
    constexpr int kSamples = 14;
    QPainterPath limb;
    std::vector<QPointF> left, right;
    for (int i = 0; i <= kSamples; ++i) {
        const qreal s = qreal(i) / kSamples;
        const QPointF pt = hip * (1 - s) * (1 - s) + elbow * 2 * s * (1 - s) + wrist * s * s;
        const QPointF d = unit((elbow - hip) * (1 - s) + (wrist - elbow) * s);
        const QPointF n(-d.y(), d.x());
        const qreal w = r * (0.34 - 0.16 * s);
        left.push_back(pt + n * w);
        right.push_back(pt - n * w);
    }
    limb.moveTo(left.front());
    for (const QPointF& pt : left)
        limb.lineTo(pt);
    for (auto it = right.rbegin(); it != right.rend(); ++it)
        limb.lineTo(*it);
    limb.closeSubpath();
    p.setPen(QPen(kLine, 1.4));
    p.setBrush(kBody);
    p.drawPath(limb);
    // Elbow tuft.
    p.setPen(QPen(kLine, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < 3; ++k)
        p.drawLine(elbow, elbow + f.tangent * r * (0.5 + 0.15 * k) + down * r * (0.1 * k - 0.2));
    p.setPen(QPen(kGold, 1.8, Qt::SolidLine, Qt::RoundCap));
    for (int c = -2; c <= 1; ++c) {
        const QPointF dir = unit(down * 0.7 + f.tangent * (0.45 * c + 0.2));
        const QPointF tip = wrist + dir * r * 0.55;
        QPainterPath claw;
        claw.moveTo(wrist);
        claw.quadTo(wrist + dir * r * 0.4 + f.tangent * r * 0.1, tip);
        p.drawPath(claw);
    }
}

void paintTailTuft(QPainter& p, const Frame& end) {
    p.setPen(QPen(kLine, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = -3; i <= 3; ++i) {
        const QPointF dir = unit(end.tangent + end.normal * (0.28 * i));
        QPainterPath flame;
        flame.moveTo(end.at);
        flame.quadTo(end.at + dir * 18 + end.normal * 6, end.at + dir * (30 - std::abs(i) * 3));
        p.drawPath(flame);
    }
}

void paintHead(QPainter& p) {
    const Frame f = bodyAt(0);
    const QPointF fwd = -f.tangent;
    const QPointF up = f.normal;
    const qreal r = 27;
    const auto at = [&](qreal a, qreal b) { return f.at + fwd * (a * r) + up * (b * r); };
    const auto curve = [&](std::initializer_list<QPointF> pts) {
        QPainterPath path;
        auto it = pts.begin();
        path.moveTo(*it++);
        while (it + 2 <= pts.end()) {
            path.cubicTo(it[0], it[1], it[2]);
            it += 3;
        }
        return path;
    };
    p.setBrush(Qt::NoBrush);
    // Mane: flames streaming back along the neck.
    p.setPen(QPen(kLine, 1.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
        const qreal b = 0.9 - i * 0.28;
        p.drawPath(curve({at(0.2, b), at(-0.5, b + 0.5), at(-1.0, b + 0.1), at(-1.7, b + 0.45)}));
    }
    // Antlers, each with a side branch.
    p.setPen(QPen(kGold, 2.2, Qt::SolidLine, Qt::RoundCap));
    for (qreal d : {0.0, 0.25}) {
        p.drawPath(
            curve({at(0.5 - d, 0.95), at(0.2 - d, 1.6), at(-0.4 - d, 1.9), at(-1.2 - d, 1.7)}));
        p.drawLine(at(-0.15 - d, 1.78), at(-0.05 - d, 2.25));
    }
    // Head: domed skull running into an upturned snout; lower jaw dropped open.
    QPainterPath upper =
        curve({at(-0.5, 0.2), at(-0.5, 1.1), at(0.6, 1.3), at(1.1, 0.95), at(1.5, 0.75),
               at(1.9, 0.75), at(2.2, 0.85), at(2.5, 0.95), at(2.6, 0.6), at(2.35, 0.4)});
    upper.lineTo(at(1.2, 0.2));
    upper.cubicTo(at(0.8, 0.0), at(0.2, -0.4), at(-0.4, -0.5));
    upper.cubicTo(at(-0.7, -0.3), at(-0.7, 0.0), at(-0.5, 0.2));
    upper.closeSubpath();
    QPainterPath lower = curve({at(0.3, -0.2), at(0.9, -0.3), at(1.5, -0.45), at(2.0, -0.4)});
    lower.lineTo(at(2.0, -0.62));
    lower.cubicTo(at(1.4, -0.85), at(0.7, -0.85), at(0.2, -0.6));
    lower.closeSubpath();
    p.setPen(QPen(kLine, 1.8));
    p.setBrush(kBody);
    p.drawPath(lower);
    p.drawPath(upper);
    // Cheek whorl.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kScale, 1.4));
    p.drawArc(QRectF(at(-0.05, 0.1) - QPointF(0.3 * r, 0.3 * r), QSizeF(0.6 * r, 0.6 * r)), 30 * 16,
              260 * 16);
    // Teeth along both jaws.
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    for (int i = 0; i < 4; ++i) {
        const qreal a = 1.3 + i * 0.24;
        const qreal b = 0.24 + i * 0.04;
        QPainterPath tooth;
        tooth.moveTo(at(a, b));
        tooth.lineTo(at(a + 0.08, b - 0.2));
        tooth.lineTo(at(a + 0.16, b + 0.01));
        p.drawPath(tooth);
    }
    // Nostril curl, brow and eye.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kLine, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(at(2.3, 0.75) - QPointF(3, 3), QSizeF(6, 6)), 0, 270 * 16);
    p.drawPath(curve({at(0.5, 0.95), at(0.8, 1.35), at(1.2, 1.2), at(1.4, 1.05)}));
    p.setPen(QPen(kGold, 1.4));
    p.setBrush(kScale);
    p.drawEllipse(at(0.95, 0.7), r * 0.15, r * 0.1);
    // Whiskers trailing from the nose, and a beard under the jaw.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kLine, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve({at(2.1, 0.7), at(2.6, 1.7), at(1.4, 2.2), at(0.6, 2.9)}));
    p.drawPath(curve({at(1.9, 0.3), at(2.8, -0.4), at(1.8, -1.6), at(2.4, -2.4)}));
    for (int i = 0; i < 3; ++i)
        p.drawPath(curve({at(0.6 + i * 0.3, -0.95), at(0.5 + i * 0.3, -1.4),
                          at(0.2 + i * 0.3, -1.5), at(0.1 + i * 0.3, -1.9)}));
}

} // namespace

Frame bodyAt(qreal t) {
    const QPointF a = centre(t), b = centre(t + 0.001);
    const QPointF tan = unit(b - a);
    // Thick behind the head, tapering to a thin tail.
    const qreal swell = std::min(1.0, 0.8 + t * 2);
    return {a, tan, QPointF(tan.y(), -tan.x()), 2.5 + 24 * std::pow(1 - t, 0.8) * swell};
}

void paintDragon(QPainter& p) {
    std::vector<Frame> frames;
    for (int i = 0; i <= kSteps; ++i)
        frames.push_back(bodyAt(qreal(i) / kSteps));
    const QPainterPath outline = outlineOf(frames);
    // Far-side legs first, so the body overlaps them.
    paintLeg(p, 0.1, 1.0, 0.5);
    paintLeg(p, 0.58, 0.9, 0.5);
    paintFins(p, frames);
    paintTailTuft(p, frames.back());
    p.setPen(QPen(kLine, 2.0));
    p.setBrush(kBody);
    p.drawPath(outline);
    paintScales(p, frames, outline);
    paintLeg(p, 0.16, 1.1, -0.4);
    paintLeg(p, 0.65, 1.0, -0.3);
    paintHead(p);
}

} // namespace artgen::dragon
