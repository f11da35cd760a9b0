#include "SyntheticSheet.h"

#include <QPainter>

namespace mirelo::test {

TileSheet SyntheticSheet() {
    QImage gfx(360, 306, QImage::Format_RGB32);
    gfx.fill(Qt::black);
    QImage mask(360, 250, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter g(&gfx), m(&mask);
    for (int p = 1; p <= 42; ++p) {
        const QPoint cell = TileSheet::TilePictureOrigin(p);
        g.fillRect(QRect(cell + QPoint(15, 20), QSize(10, 10)), SymbolColour(p));
        m.fillRect(QRect(cell + QPoint(15, 20), QSize(10, 10)), Qt::black);
    }
    g.fillRect(QRect(TileSheet::TileBlankOrigin(StyleWood), QSize(40, 50)), WoodBlank);
    g.fillRect(QRect(TileSheet::TileBlankOrigin(StyleBlue), QSize(40, 50)), BlueBlank);
    g.fillRect(QRect(TileSheet::TileBlankOrigin(StyleRed), QSize(40, 50)), RedBlank);
    // The band: the face at (6, 0) swept 6 px down and left.
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 46; ++x) {
            const bool face = x >= 6 && y < 50;
            bool band = false;
            for (int t = 0; t <= 6 && !band; ++t)
                band = x + t >= 6 && x + t < 46 && y - t >= 0 && y - t < 50;
            if (band && !face) {
                gfx.setPixelColor(x, 250 + y, EdgeColour);
                gfx.setPixelColor(46 + x, 250 + y, Qt::black);
            } else {
                gfx.setPixelColor(46 + x, 250 + y, Qt::white);
            }
        }
    g.end();
    m.end();
    return TileSheet(gfx, mask);
}

} // namespace mirelo::test
