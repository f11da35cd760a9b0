#include "TileSheet.h"

#include "Blit.h"
#include "Geometry.h"

#include <QString>

namespace mirelo {

using namespace geometry;

QImage LoadPicture(const char* name, int width, int height) {
    QImage image(QStringLiteral(":/pictures/%1").arg(QLatin1String(name)));
    if (image.isNull() || image.width() != width || image.height() != height) {
        QImage standIn(width, height, QImage::Format_RGB32);
        standIn.fill(QColor(96, 96, 96));
        return standIn;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

TileSheet::TileSheet()
    : TileSheet(LoadPicture("tilegfx.png", 360, 306), LoadPicture("mask.png", 360, 250)) {}

TileSheet::TileSheet(QImage tileGfx, QImage mask)
    : TileGfx(tileGfx.convertToFormat(QImage::Format_RGB32)),
      Mask(mask.convertToFormat(QImage::Format_RGB32)),
      MaskedTiles(360, 250, QImage::Format_RGB32) {
    MaskedTiles.fill(Qt::black);
}

QPoint TileSheet::TilePictureOrigin(int picture) {
    // Dots, Bamboos and Cracks fill rows 0, 1 and 2; the honours share rows 3 and 4.
    if (picture >= 1 && picture <= 9)
        return {TileWidth * (picture - 1), 100};
    if (picture >= 10 && picture <= 18)
        return {TileWidth * (picture - 10), 50};
    if (picture >= 19 && picture <= 27)
        return {TileWidth * (picture - 19), 0};
    if (picture >= 28 && picture <= 31)
        return {TileWidth * (picture - 28), 200};
    if (picture >= 32 && picture <= 35)
        return {TileWidth * (picture - 32), 150};
    if (picture >= 36 && picture <= 38)
        return {160 + TileWidth * (picture - 36), 200};
    if (picture >= 39 && picture <= 42)
        return {160 + TileWidth * (picture - 39), 150};
    return {0, 0};
}

QPoint TileSheet::TileBlankOrigin(int style) {
    switch (style) {
    case StyleBlue: return {280, 200};
    case StyleRed: return {320, 150};
    default: return {320, 200};
    }
}

bool TileSheet::ChangeTexture(int tileStyle) {
    if (AppliedTileStyle == tileStyle)
        return false;
    AppliedTileStyle = tileStyle;
    const QRect blank(TileBlankOrigin(tileStyle), QSize(TileWidth, TileHeight));
    for (int picture = 1; picture <= 42; ++picture) {
        const QRect cell(TilePictureOrigin(picture), QSize(TileWidth, TileHeight));
        Blit(MaskedTiles, cell.topLeft(), TileGfx, blank, RasterOp::Copy);
        Blit(MaskedTiles, cell.topLeft(), Mask, cell, RasterOp::And);
        Blit(MaskedTiles, cell.topLeft(), TileGfx, cell, RasterOp::Or);
    }
    return true;
}

} // namespace mirelo
