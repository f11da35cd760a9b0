#include "BoardFixtures.h"
#include "LayoutTemplate.h"

#include <gtest/gtest.h>
#include <vector>

namespace mirelo {
namespace {

using test::EmptyPlayingGame;

TEST(FreeRule, TraditionalTopTileCoversTheFourBelowIt) {
    Game game;
    game.BeginGame(LayoutTraditional, 31337, 0);
    const int top = game.Grid.At(16, 10, 5);
    ASSERT_NE(top, 0);
    EXPECT_TRUE(game.IsFree(top));
    const std::vector<std::array<int, 2>> fourth{{15, 9}, {17, 9}, {15, 11}, {17, 11}};
    for (auto [x, y] : fourth)
        EXPECT_FALSE(game.IsFree(game.Grid.At(x, y, 4))) << x << "," << y;
    // Once the top tile is gone each of them has an open outer side.
    game.Grid.Set(16, 10, 5, 0);
    game.Places[top] = {};
    for (auto [x, y] : fourth)
        EXPECT_TRUE(game.IsFree(game.Grid.At(x, y, 4))) << x << "," << y;
}

TEST(FreeRule, TraditionalLeftWingIsFreeAtTheDeal) {
    Game game;
    game.BeginGame(LayoutTraditional, 1, 0);
    EXPECT_TRUE(game.IsFree(game.Grid.At(3, 10, 1)));
    // Inside the first row, both sides are taken.
    EXPECT_FALSE(game.IsFree(game.Grid.At(7, 9, 1)));
    // The right wing's outer tile is free, the inner one is not.
    EXPECT_TRUE(game.IsFree(game.Grid.At(31, 10, 1)));
    EXPECT_FALSE(game.IsFree(game.Grid.At(29, 10, 1)));
}

struct SideCase {
    int leftDy;  // row offset of the left neighbour, or 9 for none
    int rightDy; // the same on the right
    bool free;
};

class SideNeighbours : public ::testing::TestWithParam<SideCase> {};

TEST_P(SideNeighbours, BlockWhenBothSidesAreTouched) {
    const auto [leftDy, rightDy, expectFree] = GetParam();
    Game game = EmptyPlayingGame();
    game.PlaceTile(1, 10, 10, 1);
    if (leftDy != 9)
        game.PlaceTile(5, 8, 10 + leftDy, 1);
    if (rightDy != 9)
        game.PlaceTile(9, 12, 10 + rightDy, 1);
    EXPECT_EQ(game.IsFree(1), expectFree);
}

INSTANTIATE_TEST_SUITE_P(RowsAboveLevelAndBelow, SideNeighbours,
                         ::testing::Values(SideCase{9, 9, true}, SideCase{0, 9, true},
                                           SideCase{9, 0, true}, SideCase{0, 0, false},
                                           SideCase{-1, 1, false}, SideCase{1, -1, false},
                                           SideCase{-1, -1, false}, SideCase{1, 1, false},
                                           // Two rows off, the neighbours no longer touch the tile.
                                           SideCase{2, 0, true}, SideCase{0, -2, true}));

TEST(FreeRule, NeighbourThreeColumnsAwayDoesNotTouch) {
    Game game = EmptyPlayingGame();
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(5, 7, 10, 1);
    game.PlaceTile(9, 13, 10, 1);
    EXPECT_TRUE(game.IsFree(1));
}

class Covering : public ::testing::TestWithParam<std::array<int, 3>> {};

TEST_P(Covering, AnyOverlapFromAboveBlocks) {
    const auto [dx, dy, covered] = GetParam();
    Game game = EmptyPlayingGame();
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(5, 10 + dx, 10 + dy, 2);
    EXPECT_EQ(game.IsFree(1), !covered) << dx << "," << dy;
}

INSTANTIATE_TEST_SUITE_P(HalfAndFullTiles, Covering,
                         ::testing::Values(std::array{0, 0, 1}, std::array{1, 0, 1},
                                           std::array{-1, 0, 1}, std::array{0, 1, 1},
                                           std::array{1, 1, 1}, std::array{-1, -1, 1},
                                           std::array{2, 0, 0}, std::array{0, 2, 0},
                                           std::array{-2, 1, 0}));

TEST(FreeRule, TopLevelIsNeverCovered) {
    Game game = EmptyPlayingGame();
    game.PlaceTile(1, 20, 10, 5);
    EXPECT_TRUE(game.IsFree(1));
    game.PlaceTile(2, 18, 10, 5);
    game.PlaceTile(3, 22, 10, 5);
    EXPECT_FALSE(game.IsFree(1));
}

TEST(FreeRule, TilesAtTheGridsEdgeReadOutsideAsEmpty) {
    Game game = EmptyPlayingGame();
    game.PlaceTile(1, 1, 1, 1);
    game.PlaceTile(2, 3, 1, 1);
    game.PlaceTile(3, 33, 20, 5);
    EXPECT_TRUE(game.IsFree(1));
    EXPECT_TRUE(game.IsFree(2));
    EXPECT_TRUE(game.IsFree(3));
}

struct MoveCase {
    std::vector<int> tiles; // laid side by side on one row, each free on one side at least
    int moves;
};

class MoveCount : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveCount, CountsNeighbouringSameFacePairs) {
    const auto& [tiles, moves] = GetParam();
    Game game = EmptyPlayingGame();
    // Rows four apart keep the tiles apart, so every one is free.
    int y = 3;
    for (int t : tiles) {
        game.PlaceTile(static_cast<std::uint8_t>(t), 10, y, 1);
        y += 4;
    }
    game.State.TilesLeft = static_cast<std::uint8_t>(tiles.size());
    game.IsItFree();
    EXPECT_EQ(game.State.FreeCount, tiles.size());
    EXPECT_EQ(game.State.MovesLeft, moves);
    for (int i = 1; i < game.State.FreeCount; ++i)
        EXPECT_LT(game.State.FreeList[i - 1], game.State.FreeList[i]);
}

INSTANTIATE_TEST_SUITE_P(Faces, MoveCount,
                         ::testing::Values(MoveCase{{1, 2, 3}, 2}, MoveCase{{1, 2, 3, 4}, 3},
                                           MoveCase{{109, 112}, 1}, MoveCase{{113, 116}, 1},
                                           MoveCase{{112, 113}, 0}, MoveCase{{4, 5}, 0},
                                           MoveCase{{1}, 0}, MoveCase{{}, 0},
                                           MoveCase{{1, 2, 5, 6, 144}, 2}));

TEST(FreeRule, IsItFreeAgreesWithTheRuleOnRealDeals) {
    Game game;
    for (int layout = 1; layout <= 5; ++layout) {
        game.BeginGame(layout, 1000u + layout, 0);
        game.IsItFree();
        const auto brute = test::CountByBruteForce(game);
        EXPECT_EQ(game.State.FreeCount, brute.Free) << "layout " << layout;
        EXPECT_EQ(game.State.MovesLeft, brute.Moves) << "layout " << layout;
    }
}

// Five free pairs of different faces, nothing else free.
Game FivePairBoard() {
    Game game = EmptyPlayingGame();
    const int tiles[] = {1, 2, 9, 10, 41, 42, 109, 111, 141, 144};
    // Two columns of five, each tile free on its outer side.
    for (int i = 0; i < 10; ++i)
        game.PlaceTile(static_cast<std::uint8_t>(tiles[i]), i < 5 ? 10 : 12, 3 + 3 * (i % 5), 1);
    game.State.TilesLeft = 10;
    game.IsItFree();
    return game;
}

TEST(Hint, CyclesThroughTheMovesAndChargesEachTime) {
    Game game = FivePairBoard();
    ASSERT_EQ(game.State.MovesLeft, 5);
    const std::array<std::pair<int, int>, 6> expected{
        {{1, 2}, {9, 10}, {41, 42}, {109, 111}, {141, 144}, {1, 2}}};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(game.Hint());
        EXPECT_EQ(game.State.HintIndex, i % 5 + 1);
        EXPECT_EQ(game.State.HintFirst, expected[i].first);
        EXPECT_EQ(game.State.HintSecond, expected[i].second);
        EXPECT_EQ(game.State.PenaltySeconds, 40 * (i + 1));
    }
}

TEST(Hint, KeepsTheSelectionAndWrapsAfterTheBoardShrinks) {
    Game game = FivePairBoard();
    game.State.FirstPick = 41;
    game.State.HintIndex = 4;
    // Remove two pairs: three moves left, so the next hint is (4 mod 3) + 1 = 2.
    for (int t : {1, 2, 9, 10}) {
        const TilePlace p = game.Places[t];
        game.Grid.Set(p.X, p.Y, p.Z, 0);
        game.Places[t] = {};
    }
    game.State.TilesLeft = 6;
    ASSERT_TRUE(game.Hint());
    EXPECT_EQ(game.State.HintIndex, 2);
    EXPECT_EQ(game.State.HintFirst, 109);
    EXPECT_EQ(game.State.FirstPick, 41);
}

TEST(Hint, DoesNothingWithoutAMoveOrAGame) {
    Game game = EmptyPlayingGame();
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(5, 14, 10, 1);
    game.State.TilesLeft = 2;
    game.IsItFree();
    EXPECT_FALSE(game.Hint());
    EXPECT_EQ(game.State.PenaltySeconds, 0);

    Game other = FivePairBoard();
    for (const GamePhase phase : {GamePhase::Stopped, GamePhase::Won, GamePhase::Paused}) {
        Game g = other;
        g.State.Phase = phase;
        EXPECT_FALSE(g.Hint());
        EXPECT_EQ(g.State.PenaltySeconds, 0);
        EXPECT_EQ(g.State.HintFirst, 0);
    }
}

TEST(Hint, StaleMoveCountClearsTheHintWithoutCharging) {
    // The last count said there were moves; the board has none now.
    Game game = FivePairBoard();
    ASSERT_TRUE(game.Hint());
    game.ClearBoard();
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(5, 14, 10, 1);
    game.State.TilesLeft = 2;
    const int penalty = game.State.PenaltySeconds;
    EXPECT_FALSE(game.Hint());
    EXPECT_EQ(game.State.HintFirst, 0);
    EXPECT_EQ(game.State.PenaltySeconds, penalty);
}

TEST(Hint, EnoughHintsReachTheTimeLimit) {
    Game game = FivePairBoard();
    game.State.ElapsedSeconds = 99 * 60 + 30;
    EXPECT_FALSE(game.TimeIsUp());
    ASSERT_TRUE(game.Hint());
    EXPECT_EQ(game.State.TotalSeconds(), 6010);
    EXPECT_TRUE(game.TimeIsUp());
}

} // namespace
} // namespace mirelo
