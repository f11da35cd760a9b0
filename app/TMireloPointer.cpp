// Pointer tracking and the three highlight modes.
#include "Geometry.h"
#include "TMirelo.h"
#include "WindowSurface.h"

#include <QAction>
#include <array>

namespace mirelo {

using namespace geometry;

void TMirelo::RemoveHighlight() {
    if (HighlightMode == Highlight::Rectangle) {
        if (HighlightShown)
            Surface->Draw(HighlightRect.topLeft(), SmallBuf);
    } else if (HighlightMode == Highlight::Color && ColorHighlightTile != 0) {
        const std::uint8_t tile = ColorHighlightTile;
        ColorHighlightTile = 0;
        RedrawTile(tile);
    }
}

void TMirelo::DropHighlightRectangle() {
    // Forgotten, not restored: the full redraw that follows repaints its place,
    // and the next pointer move highlights the tile then under the pointer.
    HighlightShown = false;
    HoverTile = 0;
    PrevHoverTile = 0;
}

void TMirelo::FormMouseMove() {
    if (HighlightMode == Highlight::None)
        return;
    if (!game.State.Running())
        return;
    const QPoint p = PointerBoardPosition();
    PrevHoverTile = HoverTile;
    // The leftmost column of the board never highlights, though a click there counts.
    const bool onBoard = p.x() >= 0 && p.y() >= 0 && p.x() / ColumnWidth >= 1 &&
                         p.x() / ColumnWidth < GridColumns && p.y() / RowHeight < GridRows;
    const int tile = onBoard ? Renderer.TileAt(p.x(), p.y()) : 0;
    if (tile == 0) {
        RemoveHighlight();
        HighlightShown = false;
        HoverTile = 0;
        PrevHoverTile = 0;
        return;
    }
    HoverTile = tile;
    if (tile == PrevHoverTile)
        return;
    if (PrevHoverTile != 0)
        RemoveHighlight();
    if (HighlightMode == Highlight::Rectangle) {
        const QPoint face = Renderer.FaceOrigin(game.Places[tile]) + QPoint(0, ToolbarHeight);
        HighlightShown = true;
        HighlightRect = QRect(face, QSize(TileBoxWidth, TileBoxHeight));
        SmallBuf = Surface->Grab(HighlightRect);
        Surface->DrawOutline(face + QPoint(1, 1), face + QPoint(39, 49), QColor(255, 0, 0), 3);
    } else {
        ColorHighlightTile = static_cast<std::uint8_t>(tile);
        RedrawTile(ColorHighlightTile);
    }
}

void TMirelo::ChooseHighlight(Highlight mode) {
    // The mode left takes its mark off the board.
    if (HighlightMode == Highlight::Rectangle && mode != Highlight::Rectangle && HighlightShown)
        Surface->Draw(HighlightRect.topLeft(), SmallBuf);
    if (HighlightMode == Highlight::Color && mode != Highlight::Color)
        RemoveHighlight();
    if (mode != Highlight::Rectangle)
        HighlightShown = false;
    HighlightMode = mode;
    const std::array<QAction*, 3> items{Menu.Highlight1, Menu.Highlight2, Menu.Highlight3};
    items[static_cast<int>(mode)]->setChecked(true);
}

} // namespace mirelo
