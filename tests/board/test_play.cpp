#include "BoardFixtures.h"
#include "LayoutTemplate.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

using test::EmptyPlayingGame;
using test::RecordingView;
using Events = std::vector<std::string>;

// Row 3: tiles 1 (10,3) and 5 (12,3) side by side; tile 2 at (20,3) alone;
// tile 3 under tile 9 at (20,8); Flowers 109 and 112 and Season 113 alone.
Game SmallBoard() {
    Game game = EmptyPlayingGame();
    game.PlaceTile(1, 10, 3, 1);
    game.PlaceTile(5, 12, 3, 1);
    game.PlaceTile(2, 20, 3, 1);
    game.PlaceTile(3, 20, 8, 1);
    game.PlaceTile(9, 20, 8, 2);
    game.PlaceTile(7, 17, 8, 1);
    game.PlaceTile(8, 23, 8, 1);
    game.PlaceTile(109, 5, 12, 1);
    game.PlaceTile(112, 10, 12, 1);
    game.PlaceTile(113, 15, 12, 1);
    game.State.TilesLeft = 10;
    return game;
}

TEST(Pick, FirstPickOfAFreeTileIsAccepted) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.Pick(1, view);
    EXPECT_EQ(game.State.FirstPick, 1);
    EXPECT_EQ(view.Take(), (Events{"ok 1"}));
}

TEST(Pick, BlockedTileIsRefusedAsFirstAndAsSecondPick) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.Pick(3, view); // under tile 9
    EXPECT_EQ(game.State.FirstPick, 0);
    EXPECT_EQ(view.Take(), (Events{"bip"}));
    game.Pick(2, view);
    game.Pick(3, view);
    EXPECT_EQ(game.State.FirstPick, 2);
    EXPECT_EQ(game.State.SecondPick, 0);
    EXPECT_EQ(view.Take(), (Events{"ok 2", "bip"}));
}

TEST(Pick, SameTileAgainUnselectsWithTheAcceptanceSound) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.Pick(2, view);
    game.Pick(2, view);
    EXPECT_EQ(game.State.FirstPick, 0);
    EXPECT_EQ(game.State.SecondPick, 0);
    EXPECT_EQ(view.Take(), (Events{"ok 2", "ok 2"}));
}

TEST(Pick, DifferentFacesHandThePickOverThenAThirdTileMakesThePair) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.Pick(5, view); // face 1
    game.Pick(2, view); // face 0
    EXPECT_EQ(game.State.FirstPick, 2);
    EXPECT_EQ(game.State.SecondPick, 0);
    EXPECT_EQ(view.Take(), (Events{"ok 5", "ok 2", "tile 5"}));
    game.Pick(1, view); // face 0: removes 2 and 1
    EXPECT_EQ(view.Take(), (Events{"ok 1", "tile 2 gone", "tile 1 gone", "removed"}));
    EXPECT_FALSE(view.OrderBroken);
    EXPECT_EQ(game.State.TilesLeft, 8);
    EXPECT_FALSE(game.Places[1].OnBoard());
    EXPECT_FALSE(game.Places[2].OnBoard());
    EXPECT_EQ(game.Grid.At(20, 3, 1), 0);
    EXPECT_EQ(game.Grid.At(10, 3, 1), 0);
    EXPECT_EQ(game.History[134].Tile, 2); // the first pick of the pair first
    EXPECT_EQ(game.History[134].X, 20);
    EXPECT_EQ(game.History[135].Tile, 1);
    EXPECT_EQ(game.History[135].X, 10);
    EXPECT_EQ(test::CheckInvariants(game, false), "");
}

TEST(Pick, AnyTwoFlowersMakeAPairButNotAFlowerAndASeason) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.Pick(112, view);
    game.Pick(113, view);
    EXPECT_EQ(game.State.FirstPick, 113);
    game.Pick(113, view); // drop it
    game.Pick(109, view);
    game.Pick(112, view);
    EXPECT_EQ(game.State.TilesLeft, 8);
    EXPECT_FALSE(game.Places[109].OnBoard());
    EXPECT_FALSE(game.Places[112].OnBoard());
}

TEST(Pick, ZeroTileDoesNothing) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.Pick(2, view);
    view.Take();
    game.Pick(0, view);
    EXPECT_EQ(game.State.FirstPick, 2);
    EXPECT_TRUE(view.Events.empty());
}

TEST(Pick, RightClickDropsPicksAndHint) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.Pick(2, view);
    game.State.HintFirst = 109;
    game.State.HintSecond = 112;
    view.Take();
    game.DropPicks(view);
    EXPECT_EQ(game.State.FirstPick + game.State.HintFirst + game.State.HintSecond, 0);
    EXPECT_EQ(view.Take(), (Events{"full"}));
}

TEST(Pick, RemovingAPairKeepsAHintOnTheBoard) {
    Game game = SmallBoard();
    RecordingView view(game);
    game.State.HintFirst = 109;
    game.State.HintSecond = 112;
    game.Pick(1, view);
    game.Pick(2, view);
    EXPECT_EQ(game.State.HintFirst, 109);
    EXPECT_EQ(game.State.HintSecond, 112);
}

TEST(Back, PlaysBackEveryPairToTheFullDeal) {
    Game game;
    game.BeginGame(LayoutTraditional, 2718, 0);
    const Game dealt = game;
    RecordingView view(game);
    int pairs = 0;
    std::uint8_t a = 0, b = 0;
    while (test::FindMatchingFreePair(game, a, b)) {
        game.Pick(a, view);
        game.Pick(b, view);
        ASSERT_EQ(test::CheckInvariants(game), "");
        ++pairs;
    }
    ASSERT_GT(pairs, 3);
    ASSERT_EQ(game.State.TilesLeft, 144 - 2 * pairs);
    EXPECT_FALSE(view.OrderBroken);

    game.State.HintFirst = 1;
    game.IsItFree();
    game.Pick(game.State.FreeList[0], view);
    ASSERT_NE(game.State.FirstPick, 0);
    view.Take();
    ASSERT_TRUE(game.Back(view));
    EXPECT_EQ(view.Take(), (Events{"full"}));
    EXPECT_EQ(game.State.FirstPick + game.State.HintFirst, 0);
    while (game.Back(view))
        ASSERT_EQ(test::CheckInvariants(game), "");
    EXPECT_EQ(game.State.TilesLeft, 144);
    EXPECT_EQ(game.Places, dealt.Places);
    EXPECT_EQ(game.Grid, dealt.Grid);
}

TEST(Back, DoesNothingOnAFullOrClearedBoardOrWhilePaused) {
    Game game;
    game.BeginGame(LayoutTheater, 3, 0);
    RecordingView view(game);
    EXPECT_FALSE(game.Back(view));
    std::uint8_t a = 0, b = 0;
    ASSERT_TRUE(test::FindMatchingFreePair(game, a, b));
    game.Pick(a, view);
    game.Pick(b, view);
    game.State.Phase = GamePhase::Paused;
    EXPECT_FALSE(game.Back(view));
    game.State.Phase = GamePhase::Stopped; // Back works after Stop, unseen
    EXPECT_TRUE(game.Back(view));
    game.State.TilesLeft = 0;
    EXPECT_FALSE(game.Back(view));
}

TEST(Restart, RewindsEveryPairAndTheClockButKeepsTheHintCycle) {
    Game game;
    game.BeginGame(LayoutTraditional, 99, 5000);
    const Game dealt = game;
    RecordingView view(game);
    std::uint8_t a = 0, b = 0;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(test::FindMatchingFreePair(game, a, b));
        game.Pick(a, view);
        game.Pick(b, view);
    }
    game.State.HintIndex = 2;
    game.State.PenaltySeconds = 120;
    game.UpdateClock(65'000);
    EXPECT_EQ(game.State.ElapsedSeconds, 60);
    view.Take();

    ASSERT_TRUE(game.Restart(90'000, view));
    EXPECT_EQ(view.Take(), (Events{"full", "full", "full"}));
    EXPECT_EQ(game.Places, dealt.Places);
    EXPECT_EQ(game.State.TilesLeft, 144);
    EXPECT_EQ(game.State.HintIndex, 2);
    EXPECT_EQ(game.State.PenaltySeconds, 0);
    EXPECT_EQ(game.State.ElapsedSeconds, 0);
    EXPECT_EQ(game.State.StartTick, 90'000);
}

TEST(Restart, DoesNothingWhenNothingToRewindOrNoGame) {
    Game game;
    game.BeginGame(LayoutTraditional, 4, 0);
    RecordingView view(game);
    EXPECT_FALSE(game.Restart(1, view)); // nothing removed yet
    std::uint8_t a = 0, b = 0;
    ASSERT_TRUE(test::FindMatchingFreePair(game, a, b));
    game.Pick(a, view);
    game.Pick(b, view);
    for (const GamePhase phase : {GamePhase::Stopped, GamePhase::Won, GamePhase::Paused}) {
        Game g = game;
        g.State.Phase = phase;
        EXPECT_FALSE(g.Restart(1, view));
        EXPECT_EQ(g.State.TilesLeft, 142);
    }
}

TEST(Clock, PauseTakesThePausedTimeOut) {
    Game game;
    game.BeginGame(LayoutTraditional, 4, 1'000);
    game.UpdateClock(91'000);
    EXPECT_EQ(game.State.ElapsedSeconds, 90);
    ASSERT_TRUE(game.PauseClick(91'000));
    EXPECT_TRUE(game.State.Paused());
    game.UpdateClock(691'000); // ten minutes later, still counted while paused
    EXPECT_EQ(game.State.ElapsedSeconds, 690);
    ASSERT_TRUE(game.PauseClick(691'000));
    game.UpdateClock(691'500);
    EXPECT_EQ(game.State.ElapsedSeconds, 90);
}

TEST(Clock, SurvivesTheTickCountWrapping) {
    Game game;
    game.BeginGame(LayoutTraditional, 4, 0xFFFF'F000u);
    game.UpdateClock(0x0000'2000u); // 12,288 ms later, past the wrap
    EXPECT_EQ(game.State.ElapsedSeconds, 12);
}

// Starts on both sides of the sign bit (24.9 days of uptime) and of the wrap
// (49.7 days), with spans past the 24.8 days a signed difference survives.
TEST(Clock, HoldsForAnyTickValueAndSpan) {
    constexpr std::uint32_t Half = 0x8000'0000u;
    for (const std::uint32_t start : {0u, Half - 1, Half, Half + 1, 0xFFFF'F000u, 0xFFFF'FFFFu})
        for (const std::uint32_t span :
             {12'288u, 5'999'999u, 6'000'000u, Half - 1, Half, Half + 5'000u, 0xFFFE'0000u}) {
            SCOPED_TRACE(testing::Message() << "start " << start << ", span " << span);
            const auto seconds = static_cast<std::int32_t>(span / 1000);
            Game game;
            game.BeginGame(LayoutTraditional, 4, start);
            game.UpdateClock(start + span);
            EXPECT_EQ(game.State.ElapsedSeconds, seconds);
            EXPECT_EQ(game.TimeIsUp(), span >= 6'000'000u);

            // Paused after 90 s for that long: the limit is reached while
            // paused, and a resume drops the paused span whatever its length.
            game.BeginGame(LayoutTraditional, 4, start);
            ASSERT_TRUE(game.PauseClick(start + 90'000));
            game.UpdateClock(start + 90'000 + span);
            EXPECT_EQ(game.State.ElapsedSeconds, 90 + seconds);
            EXPECT_EQ(game.TimeIsUp(), span >= 5'910'000u);
            ASSERT_TRUE(game.PauseClick(start + 90'000 + span));
            game.UpdateClock(start + 90'000 + span + 1'000);
            EXPECT_EQ(game.State.ElapsedSeconds, 91);
        }
}

TEST(Clock, NoMovesWarningShowsInTheFirstHalfOfEverySecond) {
    const std::pair<std::uint32_t, bool> ticks[] = {
        {0, true},
        {500, true},
        {501, false},
        {999, false},
        {2'147'483'647u, false}, // the last tick before the sign bit
        {2'147'483'648u, false},
        {2'147'484'000u, true},
        {2'147'484'500u, true},
        {2'147'484'501u, false},
        {4'294'966'999u, false},
        {4'294'967'000u, true},
        {4'294'967'295u, true}, // the last tick before the wrap
    };
    for (const auto& [tick, shown] : ticks)
        EXPECT_EQ(NoMovesWarningShown(tick), shown) << "tick " << tick;
}

TEST(Clock, StopsWithTheGameAndStopEndsAPause) {
    Game game;
    game.BeginGame(LayoutTraditional, 4, 0);
    game.PauseClick(30'000);
    game.UpdateClock(49'000);
    EXPECT_TRUE(game.StopGame(50'000));
    EXPECT_EQ(game.State.Phase, GamePhase::Stopped);
    EXPECT_EQ(game.State.StartTick, 20'000);
    game.UpdateClock(80'000);
    EXPECT_EQ(game.State.ElapsedSeconds, 49); // frozen at the stop
    EXPECT_FALSE(game.PauseClick(90'000));
    EXPECT_FALSE(game.StopGame(90'000));
}

} // namespace
} // namespace mirelo
