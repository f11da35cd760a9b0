// Playing with the mouse, the clock, pause, the status line and the win.
#include "Geometry.h"
#include "Solver.h"
#include "Tiles.h"
#include "WindowFixture.h"
#include "WindowSurface.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QToolButton>

namespace mirelo::test {
namespace {

using namespace geometry;

class PlayTest : public WindowTest {
protected:
    void SetUp() override {
        Options options;
        options.PlaySounds = true;
        Make(options, true);
    }
    Game& game() { return probe().game; }
    GameState& state() { return probe().game.State; }
    QString Panel(int i) const { return probe().LigneStatus[i]->text(); }

    // A board point inside tile t's face where no other tile covers it; (0, 0)
    // when the tile is hidden.
    QPoint VisiblePoint(int tile) {
        const TilePlace& p = game().Places[tile];
        const int left = FaceLeft(p.X, p.Z), top = FaceTop(p.Y, p.Z);
        for (int dy = 4; dy < 46; dy += 3)
            for (int dx = 3; dx < 36; dx += 3)
                if (probe().Renderer.TileAt(left + dx, top + dy) == tile)
                    return {left + dx, top + dy};
        return {};
    }
    QPoint PointOn(int tile) {
        const QPoint p = VisiblePoint(tile);
        EXPECT_NE(p, QPoint()) << "tile " << tile << " is hidden";
        return p;
    }
    // The window shows in tile t's box what a full redraw composes there.
    void ExpectBoxOnWindow(const TilePlace& place) {
        const QRect box = probe().Renderer.TileBox(place);
        EXPECT_EQ(probe().Surface->Surface().copy(box.translated(0, probe().ToolbarHeight)),
                  ComposedBoard().copy(box));
    }
    void Click(int tile, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint p = PointOn(tile);
        ClickBoard(p.x(), p.y(), button);
    }
    int FindTile(bool wantFree) {
        for (int t = 1; t <= 144; ++t)
            if (game().Places[t].OnBoard() && game().IsFree(t) == wantFree &&
                VisiblePoint(t) != QPoint())
                return t;
        return 0;
    }
    // A free pair of one face, and a free tile of another face.
    void FindPairAndOther(int& a, int& b, int& other) {
        a = b = other = 0;
        for (int i = 1; i <= 144 && !b; ++i)
            for (int j = i + 1; j <= 144 && game().IsFree(i); ++j)
                if (TileFace(i) == TileFace(j) && game().IsFree(j)) {
                    a = i;
                    b = j;
                    break;
                }
        for (int t = 1; t <= 144 && !other; ++t)
            if (game().IsFree(t) && TileFace(t) != TileFace(a))
                other = t;
        ASSERT_TRUE(a && b && other);
    }
    // Puts the board back to two free matching tiles side by side.
    void TwoTilesLeft() {
        game().ClearBoard();
        game().PlaceTile(1, 10, 10, 1);
        game().PlaceTile(2, 12, 10, 1);
        state().TilesLeft = 2;
        window->FullRedraw();
    }
};

TEST_F(PlayTest, PickRefuseUnpickHandOverAndRemoveThroughClicks) {
    int a, b, other;
    FindPairAndOther(a, b, other);
    const int blocked = FindTile(false);
    ASSERT_NE(blocked, 0);

    Click(blocked);
    EXPECT_EQ(state().FirstPick, 0);
    EXPECT_EQ(sound->Played, (std::vector<int>{2}));

    Click(a);
    EXPECT_EQ(state().FirstPick, a);
    Click(a);
    EXPECT_EQ(state().FirstPick, 0);
    EXPECT_EQ(sound->Played, (std::vector<int>{2, 0, 0}));

    Click(other);
    Click(a); // another face: the pick moves to a
    EXPECT_EQ(state().FirstPick, a);
    EXPECT_EQ(state().SecondPick, 0);
    Click(blocked); // refused as second pick, a stays picked
    EXPECT_EQ(state().FirstPick, a);
    sound->Played.clear();
    const TilePlace placeA = game().Places[a], placeB = game().Places[b];
    const QImage before = SurfaceRows(41, 468);
    Click(b);
    EXPECT_EQ(sound->Played, (std::vector<int>{0, 1}));
    EXPECT_EQ(state().TilesLeft, 142);
    EXPECT_FALSE(game().Places[a].OnBoard());
    EXPECT_FALSE(game().Places[b].OnBoard());
    // The window shows the board without them.
    EXPECT_NE(SurfaceRows(41, 468), before);
    ExpectBoxOnWindow(placeA);
    ExpectBoxOnWindow(placeB);
}

TEST_F(PlayTest, ClicksOutsideTheTilesDoNothing) {
    int a, b, other;
    FindPairAndOther(a, b, other);
    Click(a);
    sound->Played.clear();
    ClickBoard(-10, 50);  // left of the board
    ClickBoard(50, -10);  // above it
    ClickBoard(700, 100); // right of the 680-pixel area
    ClickBoard(5, 5);     // on the board, but no tile there
    EXPECT_EQ(state().FirstPick, a);
    EXPECT_TRUE(sound->Played.empty());
}

TEST_F(PlayTest, RightClickDropsPicksAndHint) {
    int a, b, other;
    FindPairAndOther(a, b, other);
    window->Hint();
    Click(a);
    sound->Played.clear();
    Click(a, Qt::RightButton);
    EXPECT_EQ(state().FirstPick, 0);
    EXPECT_EQ(state().HintFirst, 0);
    EXPECT_TRUE(sound->Played.empty()); // effects are on, yet it plays nothing
}

TEST_F(PlayTest, OnlyReleasesOverTheBoardReachIt) {
    int a, b, other;
    FindPairAndOther(a, b, other);
    Click(a);
    // The toolbar row, its player panel and the music control are not the board.
    for (QWidget* w : std::initializer_list<QWidget*>{probe().Bar.PlayerPanel, probe().Bar.Panel1,
                                                      probe().Bar.Media}) {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::RightButton, {}, QPoint(w->width() - 3, w->height() / 2));
        EXPECT_EQ(state().FirstPick, a) << w->metaObject()->className();
    }
    // A release over the board below still acts.
    QTest::mouseClick(probe().Surface, Qt::RightButton, {}, ClientPoint(5, 5));
    EXPECT_EQ(state().FirstPick, 0);
}

TEST_F(PlayTest, NoSoundsWhenEffectsAreOffButTilesStillRedraw) {
    probe().PlaySounds = false;
    int a, b, other;
    FindPairAndOther(a, b, other);
    const TilePlace placeA = game().Places[a];
    // A skipped redraw would leave the window equal to Buffer: compare the box
    // on the window with what it showed before.
    const QRect boxA = probe().Renderer.TileBox(placeA).translated(0, probe().ToolbarHeight);
    const QImage unpicked = probe().Surface->Surface().copy(boxA);
    Click(a);
    const QImage picked = probe().Surface->Surface().copy(boxA);
    EXPECT_NE(picked, unpicked); // redrawn as picked
    ExpectBoxOnWindow(placeA);
    Click(b);
    EXPECT_TRUE(sound->Played.empty());
    EXPECT_EQ(state().TilesLeft, 142);
    EXPECT_NE(probe().Surface->Surface().copy(boxA), picked); // redrawn without it
    ExpectBoxOnWindow(placeA);
}

TEST_F(PlayTest, BackRestoresThePairAndRestartRewindsEverything) {
    const TilePlaces dealt = game().Places;
    int a, b, other;
    FindPairAndOther(a, b, other);
    Click(a);
    Click(b);
    window->Hint();
    Click(other);
    probe().Menu.Undo1->trigger();
    EXPECT_EQ(state().TilesLeft, 144);
    EXPECT_EQ(game().Places, dealt);
    EXPECT_EQ(state().FirstPick + state().HintFirst, 0);
    probe().Menu.Undo1->trigger(); // nothing left to undo
    EXPECT_EQ(state().TilesLeft, 144);

    FindPairAndOther(a, b, other);
    Click(a);
    Click(b);
    const int hintIndex = state().HintIndex;
    clock.Advance(30'000);
    window->Temps();
    probe().Menu.Restart1->trigger();
    EXPECT_EQ(Panel(7), "Game restarted.");
    EXPECT_EQ(game().Places, dealt);
    EXPECT_EQ(state().PenaltySeconds, 0);
    EXPECT_EQ(state().HintIndex, hintIndex);
    window->Temps();
    EXPECT_EQ(Panel(5), "00:00");
}

TEST_F(PlayTest, HintChargesFortySecondsAndShowsInTheTime) {
    window->Temps();
    EXPECT_EQ(Panel(5), "00:00");
    probe().Menu.GiveHint->trigger();
    window->Temps();
    EXPECT_EQ(Panel(5), "00:40");
    EXPECT_NE(state().HintFirst, 0);
}

TEST_F(PlayTest, ShuffleChargesPerMoveAndSaysSo) {
    window->Temps();
    probe().Menu.Shuffle1->trigger();
    EXPECT_EQ(Panel(7), "Tiles shuffled.");
    EXPECT_EQ(state().PenaltySeconds, 10 * state().MovesLeft);
    EXPECT_GT(state().MovesLeft, 0);
}

TEST_F(PlayTest, HintAt9930StopsTheGameOnTheNextTick) {
    clock.Advance((99 * 60 + 30) * 1000);
    window->Temps();
    EXPECT_EQ(Panel(5), "99:30");
    window->Hint();
    EXPECT_TRUE(state().InPlay());
    window->Temps();
    EXPECT_FALSE(state().InPlay());
    EXPECT_FALSE(probe().Menu.Stoppe->isEnabled());
    // The last text written before the stop stays: the time past the limit.
    EXPECT_EQ(Panel(5), "100:10");
}

TEST_F(PlayTest, LimitReachedWhilePausedStopsAndEndsThePause) {
    // The limit itself; then a pause past 24.8 days, begun after 24.9 days of
    // uptime and ended past the tick count's wrap.
    const std::pair<std::uint32_t, std::uint32_t> pauses[] = {{1'000'000u, 6'000'000u},
                                                              {2'147'483'000u, 2'147'484'648u}};
    for (const auto& [start, pause] : pauses) {
        SCOPED_TRACE(testing::Message() << "a pause of " << pause << " ms from tick " << start);
        clock.Tick = start;
        probe().Menu.New1->trigger();
        window->PauseClick();
        clock.Advance(pause);
        window->Temps();
        EXPECT_FALSE(state().InPlay());
        EXPECT_FALSE(state().Paused());
        EXPECT_EQ(probe().Menu.Pause1->text(), "&Pause");
        EXPECT_EQ(probe().Bar.SpeedButton2->text(), "Pause");
        EXPECT_EQ(Panel(5), "---");
    }
}

TEST_F(PlayTest, PauseHidesTheTimeAndDropsThePausedMinutes) {
    clock.Advance(90'000);
    window->Temps();
    EXPECT_EQ(Panel(5), "01:30");
    probe().Bar.SpeedButton2->click();
    EXPECT_EQ(Panel(7), "Pause ON.");
    EXPECT_EQ(probe().Bar.SpeedButton2->text(), "Play");
    clock.Advance(600'000);
    window->Temps();
    EXPECT_EQ(Panel(5), "---");
    EXPECT_EQ(Panel(1), "144");
    int a, b, other;
    FindPairAndOther(a, b, other);
    Click(a); // ignored while paused
    EXPECT_EQ(state().FirstPick, 0);
    probe().Bar.SpeedButton2->click();
    EXPECT_EQ(Panel(7), "Pause OFF.");
    window->Temps();
    EXPECT_EQ(Panel(5), "01:30");
}

TEST_F(PlayTest, NoMoveBlinksWithTheTickAndStopsWhenBackMakesAMove) {
    // Early in the uptime, past 24.9 days (the sign bit) and across the wrap.
    for (const std::uint32_t second : {1'000'000u, 2'147'484'000u, 4'294'966'000u}) {
        SCOPED_TRACE(testing::Message() << "from tick " << second);
        clock.Tick = second;
        probe().Menu.New1->trigger();
        // Three tiles, none matching a free neighbour: 1 free, 5 free, 2 under 9.
        game().ClearBoard();
        game().PlaceTile(1, 10, 10, 1);
        game().PlaceTile(5, 20, 10, 1);
        game().PlaceTile(2, 30, 10, 1);
        game().PlaceTile(9, 30, 10, 2);
        game().History[138] = {2, 26, 4, 1};
        game().History[139] = {3, 28, 4, 1};
        state().TilesLeft = 4;
        window->FullRedraw();
        clock.Tick = second + 200;
        window->Temps();
        EXPECT_EQ(Panel(7), "SORRY, NO MORE MOVES !!");
        clock.Tick = second + 700;
        window->Temps();
        EXPECT_EQ(Panel(7), "");
        clock.Tick = second + 1499; // past the wrap for the last start
        window->Temps();
        EXPECT_EQ(Panel(7), "SORRY, NO MORE MOVES !!");
        // Back puts tiles 2 and 3 back where they are free: 2 pairs with 1.
        window->Back();
        clock.Tick = second + 2700;
        window->Temps();
        EXPECT_GT(state().MovesLeft, 0);
        EXPECT_EQ(Panel(7), "SORRY, NO MORE MOVES !!"); // the last blink's text stays
    }
}

TEST_F(PlayTest, WinIsAnnouncedOnceOnTheNextTickWithTheShownTime) {
    TwoTilesLeft();
    clock.Advance(125'000);
    window->Temps();
    const QPoint first = PointOn(1);
    Click(1);
    Click(2);
    EXPECT_EQ(state().TilesLeft, 0);
    EXPECT_TRUE(boxes.empty());
    window->Temps();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Congratulations !! You WON !\r\nYour time is : 02:05");
    // Faster than 08:30, the default rank 10: the time enters the table.
    EXPECT_EQ(boxes[0].Caption, "You made it in the Hall of Fame !");
    EXPECT_EQ(probe().Hall.Entry(1, 1), "Player1   125    0");
    EXPECT_EQ(Panel(5), "02:05");
    EXPECT_EQ(Panel(1), "0");
    EXPECT_EQ(state().Phase, GamePhase::Won);
    EXPECT_FALSE(state().InPlay());
    EXPECT_FALSE(probe().Menu.Shuffle1->isEnabled());
    clock.Advance(5000);
    window->Temps();
    window->FullRedraw();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Panel(5), "02:05");
    ClickBoard(first.x(), first.y()); // ignored after the win
    EXPECT_EQ(state().FirstPick, 0);
    EXPECT_EQ(sound->Played.size(), 3u); // ok, ok, removed
}

TEST_F(PlayTest, ASlowWinEarnsATitleByItsTime) {
    TwoTilesLeft();
    clock.Advance(520'000);
    window->Temps();
    Click(1);
    Click(2);
    window->Temps();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Train yourself and you shall become a master !");
    EXPECT_EQ(boxes[0].Text, "Congratulations !! You WON !\r\nYour time is : 08:40");
    EXPECT_EQ(probe().Hall.Entry(1, 10), "---       510    0");
}

TEST_F(PlayTest, CanIStillWinAnswersAndChargesLikeAHint) {
    TwoTilesLeft();
    probe().Menu.CanIWin1->trigger();
    EXPECT_EQ(Panel(7), "This board can still be cleared.");
    EXPECT_EQ(state().PenaltySeconds, 40);

    game().ClearBoard();
    game().PlaceTile(1, 10, 10, 1);
    game().PlaceTile(2, 10, 10, 2); // two tiles stacked: never both free
    window->FullRedraw();
    probe().Menu.CanIWin1->trigger();
    EXPECT_EQ(Panel(7), "No way to clear this board from here.");
    EXPECT_EQ(state().PenaltySeconds, 80);

    window->PauseClick();
    window->ShowMessage("paused");
    probe().Menu.CanIWin1->trigger();
    EXPECT_EQ(Panel(7), "paused");
    EXPECT_EQ(state().PenaltySeconds, 80);
}

TEST_F(PlayTest, WinnableDealsOnlyDealsProvedBoardsAndOffDealsAsBefore) {
    // Off: exactly the plain deal of this seed.
    Game plain;
    plain.BeginGame(1, clock.TimeOfDay, 0);
    EXPECT_EQ(game().Places, plain.Places);

    probe().Menu.WinnableDeals1->trigger();
    for (int i = 0; i < 5; ++i) {
        clock.TimeOfDay += 7919;
        window->ResetGame();
        EXPECT_EQ(Panel(7), QString::fromLatin1(BannerLine));
        const SolveOutcome outcome =
            Solve(game().Grid, game().Places, SolveBudget{100'000'000, 5000});
        EXPECT_EQ(outcome.Result, SolveResult::Winnable) << "deal " << i;
        EXPECT_EQ(state().TilesLeft, 144);
        EXPECT_TRUE(state().InPlay());
    }
}

TEST_F(PlayTest, ClicksAfterStopAreIgnored) {
    int a, b, other;
    FindPairAndOther(a, b, other);
    const QPoint p = PointOn(a);
    window->Stop();
    ClickBoard(p.x(), p.y());
    ClickBoard(p.x(), p.y(), Qt::RightButton);
    EXPECT_EQ(state().FirstPick, 0);
    EXPECT_TRUE(sound->Played.empty());
}

TEST_F(PlayTest, NewWhilePausedStartsAnUnpausedGame) {
    window->PauseClick();
    window->ResetGame();
    EXPECT_FALSE(state().Paused());
    EXPECT_EQ(probe().Menu.Pause1->text(), "&Pause");
    EXPECT_EQ(probe().Bar.SpeedButton2->text(), "Pause");
}

TEST_F(PlayTest, ShowMovesOffShowsDashes) {
    probe().Menu.Moves->trigger();
    EXPECT_FALSE(probe().Menu.Moves->isChecked());
    window->Temps();
    EXPECT_EQ(Panel(3), "--");
    probe().Menu.Moves->trigger();
    window->Temps();
    EXPECT_EQ(Panel(3), QString::number(state().MovesLeft));
}

} // namespace
} // namespace mirelo::test
