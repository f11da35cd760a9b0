#include "BoardFixtures.h"
#include "LayoutTemplate.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

using test::RecordingView;

TEST(Shuffle, KeepsTheOccupiedCellsAndClearsPicksAndHint) {
    Game game;
    game.BeginGame(LayoutTraditional, 8080, 0);
    RecordingView view(game);
    std::uint8_t a = 0, b = 0;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(test::FindMatchingFreePair(game, a, b));
        game.Pick(a, view);
        game.Pick(b, view);
    }
    const auto cells = test::OccupiedCells(game);
    const Game before = game;
    game.IsItFree();
    game.Pick(game.State.FreeList[0], view);
    game.State.HintFirst = 7;
    game.State.HintSecond = 8;

    const ShuffleOutcome out = game.Shuffle();
    ASSERT_TRUE(out.Performed);
    EXPECT_GE(out.Passes, 1);
    EXPECT_EQ(out.MovesLeft, game.State.MovesLeft);
    EXPECT_EQ(test::OccupiedCells(game), cells);
    EXPECT_NE(game.Places, before.Places);
    EXPECT_EQ(game.State.FirstPick + game.State.SecondPick + game.State.HintFirst +
                  game.State.HintSecond,
              0);
    EXPECT_EQ(game.State.PenaltySeconds, 10 * out.MovesLeft);
    EXPECT_GT(out.MovesLeft, 0);
    EXPECT_EQ(test::CheckInvariants(game), "");

    // Back still puts the last pair into its old cells; shuffled tiles stay put.
    const Game shuffled = game;
    ASSERT_TRUE(game.Back(view));
    for (int i : {144 - game.State.TilesLeft, 145 - game.State.TilesLeft}) {
        const MoveEntry& back = game.History[i];
        EXPECT_EQ(game.Grid.At(back.X, back.Y, back.Z), back.Tile);
    }
    for (int t = 1; t <= 144; ++t)
        if (shuffled.Places[t].OnBoard()) {
            EXPECT_EQ(game.Places[t], shuffled.Places[t]);
        }
    EXPECT_EQ(test::CheckInvariants(game), "");
}

TEST(Shuffle, TwoStackedTilesGiveUpAfter101PassesWithoutCharge) {
    Game game = test::EmptyPlayingGame();
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(2, 10, 10, 2);
    game.State.TilesLeft = 2;
    game.State.PenaltySeconds = 40;
    const ShuffleOutcome out = game.Shuffle();
    EXPECT_TRUE(out.Performed);
    EXPECT_EQ(out.Passes, 101);
    EXPECT_EQ(out.MovesLeft, 0);
    EXPECT_EQ(game.State.PenaltySeconds, 40);
    EXPECT_EQ(test::CheckInvariants(game, false), "");
}

TEST(Shuffle, StopsAtTheFirstPassThatLeavesAMove) {
    // Two tiles of one face side by side: every arrangement has the move.
    Game game = test::EmptyPlayingGame();
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(2, 12, 10, 1);
    game.PlaceTile(5, 20, 10, 1);
    game.State.TilesLeft = 3;
    const ShuffleOutcome out = game.Shuffle();
    EXPECT_EQ(out.Passes, 1);
    EXPECT_EQ(out.MovesLeft, 1);
    EXPECT_EQ(game.State.PenaltySeconds, 10);
}

TEST(Shuffle, IgnoredWhenPausedStoppedOrWon) {
    Game base;
    base.BeginGame(LayoutTraditional, 1, 0);
    for (const GamePhase phase : {GamePhase::Stopped, GamePhase::Won, GamePhase::Paused}) {
        Game game = base;
        game.State.Phase = phase;
        EXPECT_FALSE(game.Shuffle().Performed);
        EXPECT_EQ(game.Places, base.Places);
        EXPECT_EQ(game.State.PenaltySeconds, 0);
    }
}

} // namespace
} // namespace mirelo
