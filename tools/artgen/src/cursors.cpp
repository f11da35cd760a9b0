#include "cursors.h"

#include "geometry.h"

#include <QPainterPath>
#include <QPolygonF>

namespace artgen {
namespace {

const QRgb kClear = qRgba(0, 0, 0, 0);
const QRgb kBlack = qRgba(0, 0, 0, 255);
const QRgb kWhite = qRgba(255, 255, 255, 255);

QImage blankPointer()
{
    QImage img(geom::kPointerSize, QImage::Format_ARGB32);
    img.fill(kClear);
    return img;
}

// Hand-drawn pixels: 'X' black, 'o' white, anything else clear.
QImage fromRows(std::initializer_list<const char*> rows)
{
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

} // namespace

QImage drawTechnoPointer()
{
    // Black dart, symmetric about the diagonal, with a white keyline around
    // it so it shows on dark and light alike. Pixels are sampled at their
    // centres without anti-aliasing: a pointer has only two colours.
    const QPolygonF dart({{1, 1}, {3.6, 15.2}, {7.9, 10.9}, {17.6, 20.6}, {20.6, 17.6},
                          {10.9, 7.9}, {15.2, 3.6}});
    QPainterPath shape;
    shape.addPolygon(dart);
    shape.closeSubpath();
    QImage img = blankPointer();
    const auto inside = [&](int x, int y) { return shape.contains(QPointF(x + 0.5, y + 0.5)); };
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (inside(x, y))
                img.setPixel(x, y, kBlack);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) == kBlack)
                continue;
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    touches = touches || inside(x + dx, y + dy);
            if (touches)
                img.setPixel(x, y, kWhite);
        }
    }
    // The tip itself is the hot spot: make sure it is part of the pointer.
    img.setPixel(0, 0, kWhite);
    return img;
}

QImage drawHandPointer()
{
    return fromRows({
        ".....XX...........",
        "....XooX..........",
        "....XooX..........",
        "....XooX..........",
        "....XooX..........",
        "....XooXXX........",
        "....XooXooXXX.....",
        "....XooXooXooX....",
        "....XooXooXooXXX..",
        "....XooXooXooXooX.",
        ".XX.XooXooXooXooX.",
        "XooXXooXooXooXooX.",
        "XoooXooooooooooooX",
        ".XoooXoooooooooooX",
        "..XooooooooooooooX",
        "...XoooooooooooooX",
        "...XooooooooooooX.",
        "....XoooooooooooX.",
        "....XoooooooooooX.",
        ".....XooooooooooX.",
        ".....XooooooooooX.",
        ".....XXXXXXXXXXXX.",
    });
}

} // namespace artgen
