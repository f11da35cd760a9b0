#include "tilesheet.h"

#include "blanks.h"
#include "geometry.h"
#include "tiles.h"

#include <QPainter>

namespace artgen {

QImage buildTileSheet(const Fonts& fonts, int scale) {
    using namespace geom;
    QImage sheet(scaled(kTileSheetSize, scale), QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter p(&sheet);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (int n = 1; n <= kPictureCount; ++n)
        p.drawImage(scaled(pictureCell(n), scale), drawPicture(n, fonts, scale));
    for (int s = 0; s < kStyleCount; ++s) {
        const auto style = static_cast<Style>(s);
        p.drawImage(scaled(blankCell(style), scale), drawBlank(style, scale));
    }
    p.drawImage(scaled(kEdgePicture, scale), drawEdgePicture(scale));
    p.drawImage(scaled(kEdgeMask, scale), drawEdgeMask(scale));
    p.end();
    return sheet;
}

QImage buildMaskSheet(const QImage& tileSheet, int scale) {
    using namespace geom;
    QImage mask(scaled(kMaskSheetSize, scale), QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int n = 1; n <= kPictureCount; ++n) {
        const QPoint cell = scaled(pictureCell(n), scale);
        for (int y = 0; y < kCellH * scale; ++y) {
            for (int x = 0; x < kCellW * scale; ++x) {
                const QPoint at = cell + QPoint(x, y);
                if ((tileSheet.pixel(at) & 0xffffff) != 0)
                    mask.setPixel(at, qRgb(0, 0, 0));
            }
        }
    }
    return mask;
}

} // namespace artgen
