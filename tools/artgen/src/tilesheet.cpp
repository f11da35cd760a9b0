#include "tilesheet.h"

#include "blanks.h"
#include "geometry.h"
#include "tiles.h"

#include <QPainter>

namespace artgen {

QImage buildTileSheet(const Fonts& fonts)
{
    using namespace geom;
    QImage sheet(kTileSheetSize, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter p(&sheet);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (int n = 1; n <= kPictureCount; ++n)
        p.drawImage(pictureCell(n), drawPicture(n, fonts));
    for (int s = 0; s < kStyleCount; ++s) {
        const auto style = static_cast<Style>(s);
        p.drawImage(blankCell(style), drawBlank(style));
    }
    p.drawImage(kEdgePicture, drawEdgePicture());
    p.drawImage(kEdgeMask, drawEdgeMask());
    p.end();
    return sheet;
}

QImage buildMaskSheet(const QImage& tileSheet)
{
    using namespace geom;
    QImage mask(kMaskSheetSize, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int n = 1; n <= kPictureCount; ++n) {
        const QPoint cell = pictureCell(n);
        for (int y = 0; y < kCellH; ++y) {
            for (int x = 0; x < kCellW; ++x) {
                const QPoint at = cell + QPoint(x, y);
                if ((tileSheet.pixel(at) & 0xffffff) != 0)
                    mask.setPixel(at, qRgb(0, 0, 0));
            }
        }
    }
    return mask;
}

} // namespace artgen
