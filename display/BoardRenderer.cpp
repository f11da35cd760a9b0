#include "BoardRenderer.h"

#include "TileSheet.h"
#include "Tiles.h"

#include <algorithm>

namespace mirelo {

using namespace geometry;

// Buffer is made when first drawn into: the window's renderer never needs one.
BoardRenderer::BoardRenderer() = default;

QImage& BoardRenderer::Out() {
    if (target_)
        return *target_;
    if (Buffer.isNull())
        SetScale(scale_);
    return Buffer;
}

void BoardRenderer::SetScale(int scale) {
    if (scale == scale_ && (target_ || !Buffer.isNull()))
        return;
    scale_ = scale;
    if (target_)
        return;
    Buffer = QImage(BufferWidth * scale, BufferHeight * scale, QImage::Format_RGB32);
    Buffer.fill(Qt::black);
    Buffer.setDevicePixelRatio(scale);
}

void BoardRenderer::DrawOnto(QImage* target, QPoint offset) {
    target_ = target;
    offset_ = offset;
    Buffer = QImage();
}

QImage BoardRenderer::Picture() const {
    if (!target_)
        return Buffer;
    QImage picture =
        target_->copy(QRect(offset_ * scale_, QSize(BufferWidth * scale_, BufferHeight * scale_)));
    picture.setDevicePixelRatio(scale_);
    return picture;
}

void BoardRenderer::Put(QPoint at, const QImage& src, QRect from, RasterOp op) {
    const QRect placed((at + offset_) * scale_, from.size() * scale_);
    const QRect kept = clip_.isEmpty() ? placed : placed.intersected(clip_);
    if (kept.isEmpty())
        return;
    const QPoint skipped = kept.topLeft() - placed.topLeft();
    Blit(Out(), kept.topLeft(), src, QRect(from.topLeft() * scale_ + skipped, kept.size()), op);
}

void BoardRenderer::PaintBackground(const QImage& background) {
    clip_ = QRect();
    Put({0, 0}, background, QRect(QPoint(), background.size() / scale_), RasterOp::Copy);
}

QPoint BoardRenderer::FaceOrigin(const TilePlace& place) const {
    return {FaceLeft(place.X, place.Z) + BoardOriginX * WideScreen,
            FaceTop(place.Y, place.Z) + BoardOriginY * WideScreen};
}

QRect BoardRenderer::TileBox(const TilePlace& place) const {
    const QPoint face = FaceOrigin(place);
    return QRect(face.x() - EdgeBand, face.y(), TileBoxWidth, TileBoxHeight);
}

void BoardRenderer::ComposeBoard(const BoardGrid& grid, const QImage& background,
                                 const TileSheet& sheet, const TileMarks& marks) {
    Q_ASSERT(sheet.Scale == scale_ && background.width() == BackgroundWidth * scale_);
    const QPoint origin(BoardOriginX * WideScreen, BoardOriginY * WideScreen);
    // A full refresh lays the whole background: on a window surface something
    // else may have been shown there (the stopped game's logo, the Hall of
    // Fame). A partial one stays inside its rectangle, tiles and all.
    QRect area(QPoint(), QSize(BackgroundWidth, BackgroundHeight));
    clip_ = QRect();
    if (!Dirty.IsFull()) {
        area = QRect(origin, QSize(BoardAreaWidth, BoardAreaHeight)).intersected(Dirty.ToRect());
        const QRect dirty = Dirty.ToRect();
        clip_ = QRect((dirty.topLeft() + offset_) * scale_, dirty.size() * scale_);
    }
    Put(area.topLeft(), background, area, RasterOp::Copy);
    HitMap.fill(0);
    // Later tiles cover earlier ones: levels bottom up, columns right to left (a
    // tile's band hangs over its left neighbour), rows top down.
    for (int z = 1; z <= GridLevels; ++z)
        for (int x = GridColumns; x >= 1; --x)
            for (int y = 1; y <= GridRows; ++y)
                if (const std::uint8_t tile = grid.At(x, y, z))
                    ShowIt(grid, x, y, z, tile, sheet, marks);
}

void BoardRenderer::ShowIt(const BoardGrid& grid, int x, int y, int z, std::uint8_t tile,
                           const TileSheet& sheet, const TileMarks& marks) {
    const QPoint face = FaceOrigin({x, y, z});
    const int sx = face.x(), sy = face.y();
    const QRect box(sx - EdgeBand, sy, TileBoxWidth, TileBoxHeight);

    const bool touches =
        Dirty.IsFull() || (box.left() < Dirty.Right && box.left() + TileBoxWidth > Dirty.Left &&
                           box.top() < Dirty.Bottom && box.top() + TileBoxHeight > Dirty.Top);
    if (touches) {
        // The edge band: its mask, then its picture. The face is copied over
        // the box's upper right 40 x 50 just after, so only the band's L is
        // drawn, the left columns and the bottom rows: the same pixels for a
        // fifth of the work. A tile one column right and two rows down was
        // drawn already, and a full bottom band would cut into its face.
        const int bottomBand = grid.At(x + 1, y + 2, z) ? ShortBottomBand : TileBoxWidth;
        for (const QRect part :
             {QRect(0, 0, EdgeBand, TileHeight), QRect(0, TileHeight, bottomBand, EdgeBand)}) {
            const QPoint at = box.topLeft() + part.topLeft();
            Put(at, sheet.TileGfx, part.translated(TileSheet::EdgeMaskOrigin()), RasterOp::And);
            Put(at, sheet.TileGfx, part.translated(TileSheet::EdgePictureOrigin()), RasterOp::Or);
        }

        const QRect cell(TileSheet::TilePictureOrigin(TilePicture(tile)),
                         QSize(TileWidth, TileHeight));
        const bool picked = tile == marks.FirstPick || tile == marks.SecondPick;
        const bool marked = picked || tile == marks.HintFirst || tile == marks.HintSecond ||
                            tile == marks.ColorHighlightTile;
        if (marked) {
            const int style = (sheet.AppliedTileStyle + (picked ? 1 : 2)) % StyleCount;
            const QRect blank(TileSheet::TileBlankOrigin(style), cell.size());
            Put(face, sheet.TileGfx, blank, RasterOp::Copy);
            Put(face, sheet.Mask, cell, RasterOp::And);
            Put(face, sheet.TileGfx, cell, RasterOp::Or);
        } else {
            Put(face, sheet.MaskedTiles, cell, RasterOp::Copy);
        }
    }

    // The hit cells cover about the TileBox: the band's column on the left and
    // the band's rows below, not the face's rightmost 3 px and top 2 lines.
    const int c0 = std::max(0, (sx - BoardOriginX * WideScreen - EdgeBand) / HitBlock);
    const int r0 = std::max(0, (sy - BoardOriginY * WideScreen) / HitBlock);
    const int c1 = std::min(HitMapColumns - 1, c0 + HitCellsAcross - 1);
    const int r1 = std::min(HitMapRows - 1, r0 + HitCellsDown);
    for (int c = c0; c <= c1; ++c)
        std::fill(HitMap.begin() + HitMapRows * c + r0 + 1,
                  HitMap.begin() + HitMapRows * c + r1 + 1, tile);
}

std::uint8_t BoardRenderer::TileAt(int px, int py) const {
    if (px < 0 || py < 0)
        return 0;
    const int c = px / HitBlock, r = py / HitBlock;
    if (c >= HitMapColumns || r >= HitMapRows)
        return 0;
    return HitMap[HitMapRows * c + r];
}

} // namespace mirelo
