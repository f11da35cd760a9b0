// The board on the window: drawing, styles, backgrounds, layouts, stop.
#include "LayoutTemplate.h"
#include "Tiles.h"
#include "WindowFixture.h"
#include "WindowSurface.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace mirelo::test {
namespace {

TEST_F(WindowTest, FullRedrawCopiesTheBufferBelowTheToolbar) {
    Make();
    window->FullRedraw();
    EXPECT_EQ(BoardRows(41), ComposedBoard().copy(0, 0, 700, 468));
    // Some tile is drawn: the board area differs from the bare background.
    EXPECT_NE(ComposedBoard().copy(36, 25, 628, 428),
              window->CurrentBackground().copy(36, 25, 628, 428));
}

TEST_F(WindowTest, StyleCommandsRecomposeRedrawAndSaySo) {
    Make();
    window->ShowMessage("before");
    probe().Menu.Wood1->trigger(); // already in force: nothing at all
    EXPECT_EQ(probe().LigneStatus[7]->text(), "before");
    EXPECT_TRUE(probe().Menu.Wood1->isChecked());

    probe().Menu.Blue1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Tileset BLUE TILES selected.");
    EXPECT_EQ(probe().Sheet.AppliedTileStyle, StyleBlue);
    EXPECT_TRUE(probe().Menu.Blue1->isChecked());
    EXPECT_FALSE(probe().Menu.Wood1->isChecked());
    EXPECT_EQ(BoardRows(41), ComposedBoard().copy(0, 0, 700, 468));
    probe().Menu.Red1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Tileset RED TILES selected.");
    probe().Menu.Wood1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Tileset WOOD TILES selected.");
}

TEST_F(WindowTest, StyleChosenWithoutAGameShowsFromTheNextDeal) {
    Options options;
    options.StartDirectly = false;
    Make(options);
    probe().Menu.Red1->trigger();
    EXPECT_EQ(probe().TileStyle, StyleRed);
    window->ResetGame();
    EXPECT_EQ(probe().Sheet.AppliedTileStyle, StyleRed);
}

TEST_F(WindowTest, BackgroundCommandsAlwaysRedrawAndSayNothing) {
    Make();
    window->ShowMessage("before");
    probe().Menu.Kanji1->trigger();
    EXPECT_TRUE(probe().Menu.Kanji1->isChecked());
    EXPECT_FALSE(probe().Menu.Dragons1->isChecked());
    EXPECT_EQ(BoardRows(41).copy(0, 0, 30, 30), window->Kanji().copy(0, 0, 30, 30));
    EXPECT_EQ(BoardRows(41), ComposedBoard().copy(0, 0, 700, 468));
    // The same choice again still redraws: scribble on the surface, then choose it.
    probe().Surface->Draw(QPoint(0, 41), window->Dragons());
    probe().Menu.Kanji1->trigger();
    EXPECT_TRUE(probe().Menu.Kanji1->isChecked());
    EXPECT_EQ(BoardRows(41), ComposedBoard().copy(0, 0, 700, 468));
    EXPECT_EQ(probe().LigneStatus[7]->text(), "before");
}

TEST_F(WindowTest, StopShowsTheBackgroundAndTheLogo) {
    Make();
    probe().Menu.Stoppe->trigger();
    EXPECT_FALSE(probe().game.State.InPlay());
    for (QAction* a :
         {probe().Menu.Restart1, probe().Menu.Pause1, probe().Menu.Stoppe, probe().Menu.Shuffle1})
        EXPECT_FALSE(a->isEnabled());
    const QImage logoArea = probe().Surface->Surface().copy(228, 41 + 164, 253, 128);
    EXPECT_EQ(logoArea, window->Logo());
    EXPECT_EQ(SurfaceRows(41, 100), window->CurrentBackground().copy(0, 0, 800, 100));
    // A later repaint shows the background alone.
    window->Peindre();
    EXPECT_EQ(SurfaceRows(41, 468), window->CurrentBackground().copy(0, 0, 800, 468));
}

TEST_F(WindowTest, LayoutChoicesSayTheirNameAndWarnOnceOverAGame) {
    Make();
    // A game under way: one pair off the Traditional deal.
    Game& game = probe().game;
    bool removed = false;
    for (int a = 1; a <= TileCount && !removed; ++a)
        for (int b = a + 1; b <= TileCount && !removed; ++b)
            if (TileFace(a) == TileFace(b) && game.IsFree(a) && game.IsFree(b)) {
                game.Pick(static_cast<std::uint8_t>(a), *window);
                game.Pick(static_cast<std::uint8_t>(b), *window);
                removed = true;
            }
    ASSERT_EQ(game.State.TilesLeft, 142);
    const BoardGrid grid = game.Grid;
    const TilePlaces places = game.Places;
    const QImage picture = BoardRows(41);

    probe().Menu.Theater1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Layout THEATER selected.");
    EXPECT_TRUE(probe().Menu.Theater1->isChecked());
    EXPECT_FALSE(probe().Menu.Traditional1->isChecked());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "And now for something completely different.");
    EXPECT_EQ(boxes[0].Text, "You selected a new layout. Please note that you will have to start a "
                             "new game before the changes take effect.");
    probe().Menu.Beatle1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Layout BEATLE selected.");
    probe().Menu.BigHole1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Layout BIG HOLE selected.");
    EXPECT_EQ(boxes.size(), 1u);

    // The current layout again: no message at all, the mark stays.
    window->ShowMessage("before");
    probe().Menu.BigHole1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "before");
    EXPECT_TRUE(probe().Menu.BigHole1->isChecked());

    // The board in play keeps its layout until the next deal: nothing on it
    // changed, on the window or after a redraw.
    EXPECT_TRUE(game.Grid == grid);
    EXPECT_EQ(game.Places, places);
    EXPECT_EQ(game.State.TilesLeft, 142);
    EXPECT_EQ(BoardRows(41), picture);
    window->FullRedraw();
    EXPECT_EQ(BoardRows(41), picture);
    // The next deal fills the Big Hole slots and no other cell.
    window->ResetGame();
    EXPECT_EQ(game.State.TilesLeft, 144);
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x)
                ASSERT_EQ(game.Grid.At(x, y, z) != 0, Template(LayoutBigHole).At(x, y, z) == 1)
                    << x << "," << y << "," << z;
}

TEST_F(WindowTest, NoWarningWithoutAGameOrWithNeverWarn) {
    Options options;
    options.StartDirectly = false;
    Make(options);
    probe().Menu.Theater1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Layout THEATER selected.");
    EXPECT_TRUE(boxes.empty());

    window->ResetGame();
    probe().Menu.WarnMe->trigger();
    EXPECT_TRUE(probe().Layouts.NeverWarn);
    probe().Menu.Traditional1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Layout TRADITIONAL selected.");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowTest, DragonUnlocksWithTheChordOnTraditional) {
    Make();
    probe().Menu.Dragon1->trigger(); // disabled: nothing happens
    EXPECT_EQ(probe().Layouts.CurrentLayout, 1);
    probe().Menu.Theater1->trigger();
    boxes.clear();
    held = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
    probe().Menu.Traditional1->trigger();
    EXPECT_TRUE(probe().Menu.Dragon1->isEnabled());
    EXPECT_TRUE(probe().Menu.Theater1->isChecked()); // marks left as they were
    EXPECT_FALSE(probe().Menu.Traditional1->isChecked());
    EXPECT_EQ(probe().Layouts.CurrentLayout, 1);
    held = Qt::NoModifier;
    probe().Menu.Dragon1->trigger();
    EXPECT_EQ(probe().Layouts.CurrentLayout, 2);
    EXPECT_TRUE(probe().Menu.Dragon1->isChecked());
    EXPECT_FALSE(probe().Menu.Theater1->isChecked());
    window->ResetGame();
    for (int x = 1; x <= 34; ++x)
        for (int y = 1; y <= 20; ++y)
            EXPECT_EQ(probe().game.Grid.At(x, y, 5), 0);
}

TEST_F(WindowTest, PausedAndStoppedRedrawsShowOnlyTheBackground) {
    Make();
    probe().Menu.Pause1->trigger();
    EXPECT_TRUE(probe().game.State.Paused());
    EXPECT_EQ(probe().Menu.Pause1->text(), "&Continue");
    EXPECT_EQ(probe().Bar.SpeedButton2->text(), "Play");
    window->FullRedraw();
    EXPECT_EQ(SurfaceRows(41, 468), window->CurrentBackground().copy(0, 0, 800, 468));
    probe().Menu.Pause1->trigger();
    EXPECT_EQ(probe().Menu.Pause1->text(), "&Pause");
    EXPECT_EQ(BoardRows(41), ComposedBoard().copy(0, 0, 700, 468));
}

} // namespace
} // namespace mirelo::test
