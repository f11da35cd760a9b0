#pragma once

#include "Blit.h"
#include "BoardGrid.h"
#include "Geometry.h"

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>

namespace mirelo {

class TileSheet;

// The tiles drawn on another style's blank.
struct TileMarks {
    std::uint8_t FirstPick = 0;
    std::uint8_t SecondPick = 0;
    std::uint8_t HintFirst = 0;
    std::uint8_t HintSecond = 0;
    std::uint8_t ColorHighlightTile = 0;
};

// The part of the board to refresh, in Buffer coordinates, right and bottom
// exclusive; all -1 (FullRect) for the whole board.
struct DirtyRect {
    std::int32_t Left = -1;
    std::int32_t Top = -1;
    std::int32_t Right = -1;
    std::int32_t Bottom = -1;

    static DirtyRect FullRect() { return {}; }
    bool IsFull() const { return Left == -1 && Top == -1 && Right == -1 && Bottom == -1; }
    QRect ToRect() const { return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)); }
};

// Composes the board into Buffer and records in HitMap which tile is on top in
// every 3 x 3 block of the board. Buffer is drawn at a whole scale, 1 or 2, from
// pictures of the same scale; every coordinate here, Dirty and the hit map stay
// in scale-1 pixels, the game's own.
//
// The window's renderer draws the board straight onto the window surface
// instead (DrawOnto), so that the board is not held twice: "Buffer
// coordinates" are then the surface's, moved by the offset.
class BoardRenderer {
public:
    BoardRenderer();

    // A new, black Buffer `scale` times finer each way; nothing if it is
    // already. Drawing onto a target, no Buffer is kept: only the scale changes.
    // Until then Buffer is made at scale 1 when first drawn into.
    void SetScale(int scale);
    int Scale() const { return scale_; }
    // Draws from now on onto `*target` (at the renderer's scale) with the
    // board's top-left at `offset`, in the target's own pixels, and lets Buffer
    // go. The target must outlive the renderer or be replaced first.
    void DrawOnto(QImage* target, QPoint offset);
    // The board as drawn, the size of Buffer: Buffer, or the target's part.
    QImage Picture() const;

    // 1 when the screen is wide: the board origin then lies at (36, 25).
    int WideScreen = 1;
    QImage Buffer;
    std::array<std::uint8_t, geometry::HitMapColumns * geometry::HitMapRows> HitMap{};
    DirtyRect Dirty;

    // A background, at Buffer's scale, drawn whole into Buffer at (0, 0).
    void PaintBackground(const QImage& background);

    // Refreshes the board from `background` (all of it on a full redraw, the
    // board area inside Dirty otherwise), clears the hit map and draws every
    // tile of `grid` in drawing order; only tiles touching Dirty are drawn, and
    // only inside it, when it is not FullRect, but the whole hit map is rebuilt.
    void ComposeBoard(const BoardGrid& grid, const QImage& background, const TileSheet& sheet,
                      const TileMarks& marks);

    // Draws one tile into Buffer (when it touches Dirty, and only inside Dirty
    // when it is not FullRect) and enters it in HitMap.
    void ShowIt(const BoardGrid& grid, int x, int y, int z, std::uint8_t tile,
                const TileSheet& sheet, const TileMarks& marks);

    // The tile on top at board pixel (px, py); 0 for none.
    std::uint8_t TileAt(int px, int py) const;

    // A tile's whole drawn extent, face plus edge band, in Buffer coordinates.
    QRect TileBox(const TilePlace& place) const;
    // Its face's top-left in Buffer coordinates.
    QPoint FaceOrigin(const TilePlace& place) const;

private:
    QImage& Out();
    // Blit onto Out() of `from` (scale-1 pixels of `src`) at board point `at`,
    // within clip_.
    void Put(QPoint at, const QImage& src, QRect from, RasterOp op);

    int scale_ = 1;
    QImage* target_ = nullptr;
    QPoint offset_;
    QRect clip_; // in Out()'s pixels; empty: no limit but Out()'s own
};

} // namespace mirelo
