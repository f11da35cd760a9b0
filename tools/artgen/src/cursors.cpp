#include "cursors.h"

#include "geometry.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <cmath>

namespace artgen {
namespace {

const QRgb kClear = qRgba(0, 0, 0, 0);
const QRgb kBlack = qRgba(0, 0, 0, 255);
const QRgb kWhite = qRgba(255, 255, 255, 255);

QImage blankPointer(int scale = 1) {
    QImage img(geom::scaled(geom::kPointerSize, scale), QImage::Format_ARGB32);
    img.fill(kClear);
    return img;
}

// Hand-drawn pixels: 'X' black, 'o' white, anything else clear.
QImage fromRows(std::initializer_list<const char*> rows) {
    QImage img = blankPointer();
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x] != '\0'; ++x) {
            if (row[x] == 'X')
                img.setPixel(x, y, kBlack);
            else if (row[x] == 'o')
                img.setPixel(x, y, kWhite);
        }
        ++y;
    }
    return img;
}

// The hand at higher scales: the same hand as the pixel drawing below, as
// shapes. Coordinates are in scale-1 pixels and run through the centres of
// that drawing's outline pixels, so a one-pixel pen traces the same outline,
// only with smooth curves.
QImage drawHandShapes(int scale) {
    // Fingertips are flat across their two middle pixels, as in the pixel
    // drawing, so the hot spot stays on the tip.
    const auto finger = [](qreal left, qreal right, qreal top, qreal bottom) {
        QPainterPath path;
        path.addRoundedRect(QRectF(left, top, right - left, bottom - top), 1, 1);
        return path;
    };
    // Fingers end inside the palm; their tops step down from the index.
    const QPainterPath index = finger(4.5, 7.5, 0.5, 13.5);
    const QPainterPath fingers[] = {finger(7.5, 10.5, 5.5, 13.5), finger(10.5, 13.5, 6.5, 13.5),
                                    finger(13.5, 16.5, 8.5, 13.5)};
    QPainterPath palm;
    palm.addPolygon(QPolygonF({{4.5, 12},
                               {16.5, 12},
                               {17.5, 13},
                               {17.5, 15},
                               {16.5, 16.5},
                               {16.5, 21.5},
                               {5.5, 21.5},
                               {5.5, 19},
                               {3.5, 15.5}}));
    palm.closeSubpath();
    // The thumb reaches out to the lower left, round at its tip.
    QPainterPath thumb;
    thumb.moveTo(5.5, 13.5);
    thumb.lineTo(2.5, 10.5);
    const qreal tip = std::sqrt(2.0);
    thumb.arcTo(QRectF(1.5 - tip, 11.5 - tip, 2 * tip, 2 * tip), 45, 180);
    thumb.lineTo(3.5, 15.5);
    thumb.closeSubpath();

    QPainterPath hand = palm.united(thumb).united(index);
    for (const QPainterPath& f : fingers)
        hand = hand.united(f);

    QImage img = blankPointer(scale);
    QPainter p(&img);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(hand, Qt::white);
    const QPen line(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.strokePath(hand, line);
    // Creases between the fingers, and where the thumb folds against the palm.
    p.setPen(line);
    p.drawLine(QPointF(7.5, 7), QPointF(7.5, 12));
    p.drawLine(QPointF(10.5, 8), QPointF(10.5, 12));
    p.drawLine(QPointF(13.5, 10), QPointF(13.5, 12));
    p.drawLine(QPointF(3.5, 11.5), QPointF(5.5, 13.5));
    return img;
}

} // namespace

QImage drawTechnoPointer(int scale) {
    // Black dart, symmetric about the diagonal, with a white keyline around
    // it so it shows on dark and light alike. Pixels are sampled at their
    // centres without anti-aliasing: a pointer has only two colours.
    const QPolygonF dart(
        {{1, 1}, {3.6, 15.2}, {7.9, 10.9}, {17.6, 20.6}, {20.6, 17.6}, {10.9, 7.9}, {15.2, 3.6}});
    QPainterPath shape;
    shape.addPolygon(dart);
    shape.closeSubpath();
    QImage img = blankPointer(scale);
    const auto inside = [&](int x, int y) {
        return shape.contains(QPointF((x + 0.5) / scale, (y + 0.5) / scale));
    };
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (inside(x, y))
                img.setPixel(x, y, kBlack);
    // The keyline is one scale-1 pixel wide.
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) == kBlack)
                continue;
            bool touches = false;
            for (int dy = -scale; dy <= scale; ++dy)
                for (int dx = -scale; dx <= scale; ++dx)
                    touches = touches || inside(x + dx, y + dy);
            if (touches)
                img.setPixel(x, y, kWhite);
        }
    }
    // The tip itself is the hot spot: make sure it is part of the pointer.
    img.setPixel(0, 0, kWhite);
    return img;
}

QImage drawHandPointer(int scale) {
    if (scale != 1)
        return drawHandShapes(scale);
    // At scale 1 every pixel is placed by hand.
    return fromRows({
        ".....XX...........", "....XooX..........", "....XooX..........", "....XooX..........",
        "....XooX..........", "....XooXXX........", "....XooXooXXX.....", "....XooXooXooX....",
        "....XooXooXooXXX..", "....XooXooXooXooX.", ".XX.XooXooXooXooX.", "XooXXooXooXooXooX.",
        "XoooXooooooooooooX", ".XoooXoooooooooooX", "..XooooooooooooooX", "...XoooooooooooooX",
        "...XooooooooooooX.", "....XoooooooooooX.", "....XoooooooooooX.", ".....XooooooooooX.",
        ".....XooooooooooX.", ".....XXXXXXXXXXXX.",
    });
}

} // namespace artgen
