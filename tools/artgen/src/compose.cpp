#include "compose.h"

#include <QPainter>

namespace artgen {

TileComposer::TileComposer(const QImage& tileSheet, const QImage& maskSheet, int scale)
    : sheet_(tileSheet.convertToFormat(QImage::Format_RGB32)),
      mask_(maskSheet.convertToFormat(QImage::Format_RGB32)), scale_(scale) {}

void TileComposer::drawEdge(QPainter& p, QPoint face) const {
    using namespace geom;
    const QPoint at = face - QPoint(kEdgeDepth * scale_, 0);
    const QSize box = scaled(QSize(kEdgeBoxW, kEdgeBoxH), scale_);
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(at, sheet_, QRect(scaled(kEdgeMask, scale_), box));
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(at, sheet_, QRect(scaled(kEdgePicture, scale_), box));
    p.restore();
}

void TileComposer::drawFace(QPainter& p, QPoint face, int picture, geom::Style style) const {
    using namespace geom;
    const QSize cell = scaled(QSize(kCellW, kCellH), scale_);
    const QPoint src = scaled(pictureCell(picture), scale_);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(face, sheet_, QRect(scaled(blankCell(style), scale_), cell));
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(face, mask_, QRect(src, cell));
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(face, sheet_, QRect(src, cell));
    p.restore();
}

void TileComposer::drawTile(QPainter& p, QPoint face, int picture, geom::Style style) const {
    drawEdge(p, face);
    drawFace(p, face, picture, style);
}

QImage TileComposer::face(int picture, geom::Style style) const {
    QImage img(geom::kCellW * scale_, geom::kCellH * scale_, QImage::Format_RGB32);
    QPainter p(&img);
    drawFace(p, {0, 0}, picture, style);
    return img;
}

geom::Style TileComposer::pickedStyle(geom::Style s) {
    return static_cast<geom::Style>((static_cast<int>(s) + 1) % geom::kStyleCount);
}

geom::Style TileComposer::hintedStyle(geom::Style s) {
    return static_cast<geom::Style>((static_cast<int>(s) + 2) % geom::kStyleCount);
}

} // namespace artgen
