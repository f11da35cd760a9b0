// The board on the window: redraws, tile styles and backgrounds.
#include "Geometry.h"
#include "TMirelo.h"
#include "WindowSurface.h"

#include <QAction>

namespace mirelo {

using namespace geometry;

PictureName TMirelo::BackgroundPicture(int background) {
    // Any value but Kanji's shows the Dragons, as CurrentBackground does.
    return background == 0 ? PictureName{"kanji.png", BackgroundWidth, BackgroundHeight}
                           : PictureName{"dragons.png", BackgroundWidth, BackgroundHeight};
}

// Every picture is at the surface's scale: the finer files are never opened
// on an ordinary screen.
const QImage& TMirelo::Kanji() {
    if (kanji_.isNull())
        kanji_ = LoadPicture(BackgroundPicture(0).AtScale(Surface->Scale()));
    return kanji_;
}

const QImage& TMirelo::Dragons() {
    if (dragons_.isNull())
        dragons_ = LoadPicture(BackgroundPicture(1).AtScale(Surface->Scale()));
    return dragons_;
}

const QImage& TMirelo::Logo() {
    if (logo_.isNull())
        logo_ = LoadPicture("logo.png", 253, 128, Surface->Scale());
    return logo_;
}

const QImage& TMirelo::CurrentBackground() {
    return Menu.Kanji1->isChecked() ? Kanji() : Dragons();
}

TileMarks TMirelo::Marks() const {
    const GameState& s = game.State;
    return {s.FirstPick, s.SecondPick, s.HintFirst, s.HintSecond, ColorHighlightTile};
}

void TMirelo::Redraw() {
    // A cleared board shows the background until the next turn of the clock
    // announces the win.
    if (!game.State.Running() || game.State.TilesLeft == 0) {
        Surface->Draw(QPoint(0, ToolbarHeight), CurrentBackground());
        return;
    }

    // The board is drawn onto the surface: the pixels under the rectangle go
    // back first, and what the board draws then covers them.
    const bool rectangle = HighlightMode == Highlight::Rectangle && HighlightShown;
    if (rectangle)
        Surface->Draw(HighlightRect.topLeft(), SmallBuf);
    Renderer.ComposeBoard(game.Grid, CurrentBackground(), Sheet, Marks());
    const QRect drawn = Renderer.Dirty.IsFull() ? QRect(0, 0, BackgroundWidth, BackgroundHeight)
                                                : Renderer.Dirty.ToRect();
    Surface->update(drawn.translated(0, ToolbarHeight));
    if (rectangle) {
        // Keep the highlight on the window across every redraw.
        SmallBuf = Surface->Grab(HighlightRect);
        Surface->DrawOutline(HighlightRect.topLeft() + QPoint(1, 1),
                             HighlightRect.topLeft() + QPoint(39, 49), QColor(255, 0, 0), 3);
    }
    ShowHiScores();
}

void TMirelo::FullRedraw() {
    Renderer.Dirty = DirtyRect::FullRect();
    Redraw();
}

void TMirelo::RedrawTile(std::uint8_t tile) {
    const QRect box = Renderer.TileBox(game.Places[tile]);
    Renderer.Dirty = {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
    Redraw();
    Renderer.Dirty = DirtyRect::FullRect();
}

void TMirelo::Peindre() {
    FullRedraw();
}

void TMirelo::ChooseZoom(int zoom) {
    zoom_ = zoom;
    // Qt takes its scale factor once, as it starts: a running window cannot
    // follow a new one cleanly.
    ShowMessage(zoom == zoomAtStart_
                    ? QStringLiteral("Zoom %1 % in force.").arg(zoom)
                    : QStringLiteral("Zoom %1 % takes effect at the next start.").arg(zoom));
}

void TMirelo::Rescale() {
    const int scale = Surface->Scale();
    kanji_ = dragons_ = logo_ = QImage();
    const int style = Sheet.AppliedTileStyle;
    Sheet = TileSheet(scale);
    if (style != NoStyleApplied)
        Sheet.ChangeTexture(style);
    Renderer.SetScale(scale);
    Renderer.PaintBackground(CurrentBackground());
    // The strip's glyphs and the pixels under a rectangle were drawn at the old
    // scale: the strip is drawn again, and the rectangle waits for the pointer.
    hallStrip_.Clear(scale);
    hallStripLayout_ = -1;
    DropHighlightRectangle();
    FullRedraw();
}

void TMirelo::ChooseStyle(int style) {
    if (TileStyle == style)
        return;
    TileStyle = style;
    Sheet.ChangeTexture(TileStyle);
    FullRedraw();
    static const char* const names[] = {"WOOD", "BLUE", "RED"};
    ShowMessage(QStringLiteral("Tileset %1 TILES selected.").arg(QLatin1String(names[style])));
}

void TMirelo::ChooseBackground(int background) {
    (background == 0 ? Menu.Kanji1 : Menu.Dragons1)->setChecked(true);
    Renderer.PaintBackground(background == 0 ? Kanji() : Dragons());
    FullRedraw();
}

} // namespace mirelo
