// The pointer highlight in its three modes.
#include "Geometry.h"
#include "WindowFixture.h"
#include "WindowSurface.h"

#include <QAction>
#include <QApplication>
#include <QCursor>

namespace mirelo::test {
namespace {

using namespace geometry;

class PointerTest : public WindowTest {
protected:
    void MoveTo(int px, int py) {
        QCursor::setPos(probe().Surface->mapToGlobal(ClientPoint(px, py)));
        window->FormMouseMove();
    }
    // A board point well inside the face of the tile at grid cell (x, y, z).
    QPoint FacePoint(int x, int y, int z) { return {FaceLeft(x, z) + 20, FaceTop(y, z) + 25}; }
    void MoveOnto(int x, int y, int z) {
        const QPoint p = FacePoint(x, y, z);
        MoveTo(p.x(), p.y());
    }
    int RedPixels(const QRect& clientRect) const {
        const QImage area = probe().Surface->Surface().copy(clientRect);
        int red = 0;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                red += area.pixel(x, y) == qRgb(255, 0, 0);
        return red;
    }
};

TEST_F(PointerTest, RectangleFollowsThePointerAndSurvivesRedraws) {
    Make();
    const int tile = probe().game.Grid.At(5, 17, 1);
    MoveOnto(5, 17, 1);
    EXPECT_TRUE(probe().HighlightShown);
    EXPECT_EQ(probe().HoverTile, tile);
    const QRect rect = probe().HighlightRect;
    EXPECT_EQ(rect.size(), QSize(46, 56));
    EXPECT_GT(RedPixels(rect), 3 * 100);
    // Corners (fx + 1, fy + 1) and (fx + 39, fy + 49) with a 3 px pen: a 40 x 50
    // ring over the face's outer three pixels, and nothing inside it.
    const QRect face(probe().Renderer.FaceOrigin(probe().game.Places[tile]) + QPoint(0, 41),
                     QSize(40, 50));
    EXPECT_EQ(rect.topLeft(), face.topLeft());
    EXPECT_EQ(RedPixels(face), 40 * 50 - 34 * 44);
    EXPECT_EQ(RedPixels(rect), RedPixels(face));

    // Another tile's redraw, then a full redraw: the rectangle stays.
    window->RedrawTile(probe().game.Grid.At(7, 17, 1));
    EXPECT_GT(RedPixels(rect), 3 * 100);
    window->FullRedraw();
    EXPECT_GT(RedPixels(rect), 3 * 100);

    // Within the same tile nothing changes; onto the next tile it moves.
    MoveTo(FacePoint(5, 17, 1).x() + 5, FacePoint(5, 17, 1).y());
    EXPECT_EQ(probe().HighlightRect, rect);
    MoveOnto(9, 17, 1);
    EXPECT_EQ(RedPixels(rect), 0);
    EXPECT_NE(probe().HighlightRect, rect);

    // Off the tiles: the rectangle goes.
    const QRect last = probe().HighlightRect;
    MoveTo(5, 5);
    EXPECT_FALSE(probe().HighlightShown);
    EXPECT_EQ(RedPixels(last), 0);
    EXPECT_EQ(probe().HoverTile, 0);
}

TEST_F(PointerTest, LeftmostTwentyPixelsNeverHighlight) {
    Make();
    // The left wing's band reaches into the first 20 px, where a click still counts.
    ASSERT_NE(probe().Renderer.TileAt(15, FaceTop(10, 1) + 20), 0);
    MoveTo(15, FaceTop(10, 1) + 20);
    EXPECT_FALSE(probe().HighlightShown);
    EXPECT_EQ(probe().HoverTile, 0);
    MoveTo(25, FaceTop(10, 1) + 20);
    EXPECT_TRUE(probe().HighlightShown);
}

TEST_F(PointerTest, ColorModeRedrawsTheHoverTileAndNoneRestoresIt) {
    Make();
    probe().Menu.Highlight3->trigger();
    EXPECT_TRUE(probe().Menu.Highlight3->isChecked());
    EXPECT_FALSE(probe().Menu.Highlight2->isChecked());
    const int tile = probe().game.Grid.At(5, 17, 1);
    const QRect box = probe().Renderer.TileBox(probe().game.Places[tile]).translated(0, 41);
    const QImage normal = probe().Surface->Surface().copy(box);
    MoveOnto(5, 17, 1);
    EXPECT_EQ(probe().ColorHighlightTile, tile);
    EXPECT_NE(probe().Surface->Surface().copy(box), normal);
    EXPECT_EQ(RedPixels(box), 0);
    probe().Menu.Highlight1->trigger();
    EXPECT_EQ(probe().ColorHighlightTile, 0);
    EXPECT_EQ(probe().Surface->Surface().copy(box), normal);
    // None: moving has no effect at all.
    MoveOnto(9, 17, 1);
    EXPECT_EQ(probe().ColorHighlightTile, 0);
    EXPECT_FALSE(probe().HighlightShown);
}

TEST_F(PointerTest, ChoosingColorErasesTheRectangleAtOnce) {
    Make();
    MoveOnto(5, 17, 1);
    const QRect rect = probe().HighlightRect;
    ASSERT_GT(RedPixels(rect), 0);
    probe().Menu.Highlight3->trigger();
    EXPECT_EQ(RedPixels(rect), 0);
    EXPECT_FALSE(probe().HighlightShown);
    // The new mode shows once the pointer reaches another tile.
    EXPECT_EQ(probe().ColorHighlightTile, 0);
    MoveOnto(9, 17, 1);
    EXPECT_EQ(probe().ColorHighlightTile, probe().game.Grid.At(9, 17, 1));
}

TEST_F(PointerTest, TheRectangleIsDroppedWhenTheBoardMovesOrIsDealtAgain) {
    Options options;
    options.NeverWarn = true;
    Make(options);
    // The board on the screen is the board as composed, with no outline anywhere.
    auto onScreenAsDrawn = [&](int toolbar) {
        QApplication::processEvents(); // the pointer's own move events, if any
        return BoardRows(toolbar) == ComposedBoard().copy(0, 0, 700, 468);
    };

    // Hidden and shown again: the board moves 41 px each time, and no outline
    // is left where the tile used to be.
    MoveOnto(5, 17, 1);
    ASSERT_TRUE(onScreenAsDrawn(41) == false && probe().HighlightShown);
    probe().Menu.Toolbar1->trigger();
    ASSERT_EQ(probe().ToolbarHeight, 0);
    EXPECT_TRUE(onScreenAsDrawn(0));
    EXPECT_FALSE(probe().HighlightShown);
    MoveOnto(5, 17, 1);
    EXPECT_EQ(probe().HighlightRect.topLeft(), QPoint(36 + FaceLeft(5, 1), 25 + FaceTop(17, 1)));
    probe().Menu.Toolbar1->trigger();
    ASSERT_EQ(probe().ToolbarHeight, 41);
    EXPECT_TRUE(onScreenAsDrawn(41));

    // A new deal on another layout: nothing is outlined until the pointer moves,
    // then the tile under it.
    MoveOnto(5, 17, 1);
    QApplication::processEvents(); // the pointer rests from here on
    ASSERT_TRUE(probe().HighlightShown);
    probe().Menu.Theater1->trigger();
    probe().Menu.New1->trigger();
    EXPECT_TRUE(onScreenAsDrawn(41));
    EXPECT_FALSE(probe().HighlightShown);
    auto visible = [&](int t) {
        const TilePlace& p = probe().game.Places[t];
        const QPoint face = FacePoint(p.X, p.Y, p.Z);
        return probe().Renderer.TileAt(face.x(), face.y()) == t;
    };
    int seen = 1;
    while (seen < 144 && !visible(seen))
        ++seen;
    const TilePlace place = probe().game.Places[seen];
    MoveOnto(place.X, place.Y, place.Z);
    EXPECT_EQ(probe().HoverTile, seen);
    EXPECT_EQ(probe().HighlightRect.topLeft(), probe().Renderer.FaceOrigin(place) + QPoint(0, 41));
}

TEST_F(PointerTest, IgnoredWhilePausedOrWithoutAGame) {
    Make();
    window->PauseClick();
    MoveOnto(5, 17, 1);
    EXPECT_FALSE(probe().HighlightShown);
    window->PauseClick();
    window->Stop();
    MoveOnto(5, 17, 1);
    EXPECT_FALSE(probe().HighlightShown);
}

} // namespace
} // namespace mirelo::test
