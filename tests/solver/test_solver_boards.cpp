#include "LayoutTemplate.h"
#include "SolverTestSupport.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

using test::ReplayClears;
using test::SmallBoard;

constexpr SolveBudget Unlimited{0, 0};

SolveResult ResultOf(const SmallBoard& board) {
    return Solve(board.Grid, board.Places, Unlimited).Result;
}

TEST(SolverBoards, EmptyBoardIsClearedWithNoPair) {
    const SmallBoard board;
    const SolveOutcome out = Solve(board.Grid, board.Places, Unlimited);
    EXPECT_EQ(out.Result, SolveResult::Winnable);
    EXPECT_TRUE(out.Pairs.empty());
}

TEST(SolverBoards, TwoFreeMatchingTilesAreOnePair) {
    SmallBoard board;
    board.Put(109, 5, 5, 1); // any two Flowers match
    board.Put(112, 9, 9, 2);
    const SolveOutcome out = Solve(board.Grid, board.Places, Unlimited);
    ASSERT_EQ(out.Result, SolveResult::Winnable);
    ASSERT_EQ(out.Pairs.size(), 1u);
    EXPECT_EQ(ReplayClears(board.Grid, board.Places, 2, out.Pairs), "");
}

TEST(SolverBoards, KnownHopelessBoards) {
    SmallBoard twoStacked;
    twoStacked.Put(1, 5, 5, 1);
    twoStacked.Put(2, 5, 5, 2);
    EXPECT_EQ(ResultOf(twoStacked), SolveResult::Hopeless);

    SmallBoard halfStacked; // one column and one row off still covers
    halfStacked.Put(1, 5, 5, 1);
    halfStacked.Put(2, 6, 6, 2);
    EXPECT_EQ(ResultOf(halfStacked), SolveResult::Hopeless);

    SmallBoard threeOnTheFourth;
    for (int z = 1; z <= 4; ++z)
        threeOnTheFourth.Put(z, 5, 5, z);
    EXPECT_EQ(ResultOf(threeOnTheFourth), SolveResult::Hopeless);

    SmallBoard crossedPiles; // each pair lies on the other one's partner
    crossedPiles.Put(1, 5, 5, 2);
    crossedPiles.Put(5, 5, 5, 1);
    crossedPiles.Put(6, 11, 5, 2);
    crossedPiles.Put(2, 11, 5, 1);
    EXPECT_EQ(ResultOf(crossedPiles), SolveResult::Hopeless);

    SmallBoard interleavedRow; // A B A B: each middle tile hemmed in by the other face
    interleavedRow.Put(1, 5, 5, 1);
    interleavedRow.Put(5, 7, 5, 1);
    interleavedRow.Put(2, 9, 5, 1);
    interleavedRow.Put(6, 11, 5, 1);
    EXPECT_EQ(ResultOf(interleavedRow), SolveResult::Hopeless);

    SmallBoard oddFace;
    oddFace.Put(1, 5, 5, 1);
    oddFace.Put(2, 9, 5, 1);
    oddFace.Put(3, 13, 5, 1);
    EXPECT_EQ(ResultOf(oddFace), SolveResult::Hopeless);

    SmallBoard underAWaitingSlot; // a cell that never empties covers tile 1
    underAWaitingSlot.Put(1, 5, 5, 1);
    underAWaitingSlot.Put(2, 9, 5, 1);
    underAWaitingSlot.Grid.Set(5, 5, 2, WaitingSlot);
    EXPECT_EQ(ResultOf(underAWaitingSlot), SolveResult::Hopeless);
}

TEST(SolverBoards, RowsAreClearedFromTheirEnds) {
    SmallBoard nested; // A B B A: the inner pair first, then the outer one
    nested.Put(1, 5, 5, 1);
    nested.Put(5, 7, 5, 1);
    nested.Put(6, 9, 5, 1);
    nested.Put(2, 11, 5, 1);
    const SolveOutcome out = Solve(nested.Grid, nested.Places, Unlimited);
    ASSERT_EQ(out.Result, SolveResult::Winnable);
    EXPECT_EQ(ReplayClears(nested.Grid, nested.Places, 4, out.Pairs), "");

    // Cells that never empty, half a tile up and down beyond the ends, shut
    // both ends of the row.
    SmallBoard shut = nested;
    shut.Grid.Set(13, 6, 1, WaitingSlot);
    shut.Grid.Set(3, 4, 1, WaitingSlot);
    EXPECT_EQ(ResultOf(shut), SolveResult::Hopeless);
}

TEST(SolverBoards, InconsistentBoardIsUnknown) {
    SmallBoard misplaced;
    misplaced.Put(1, 5, 5, 1);
    misplaced.Put(2, 9, 5, 1);
    misplaced.Places[2] = {11, 5, 1}; // the grid says 9
    EXPECT_EQ(ResultOf(misplaced), SolveResult::Unknown);

    SmallBoard stray;
    stray.Put(1, 5, 5, 1);
    stray.Put(2, 9, 5, 1);
    stray.Grid.Set(13, 5, 1, 3); // in the grid, but off the board by its place
    EXPECT_EQ(ResultOf(stray), SolveResult::Unknown);
}

TEST(SolverBoards, RunningOutOfBudgetIsUnknownNeverAGuess) {
    // Seed 284 is winnable and seed 844 hopeless; each takes hundreds of positions.
    for (std::uint32_t seed : {284u, 844u}) {
        Game game;
        game.BeginGame(LayoutTraditional, seed, 0);
        const SolveOutcome byPositions = Solve(game.Grid, game.Places, {100, 0});
        EXPECT_EQ(byPositions.Result, SolveResult::Unknown) << seed;
        EXPECT_LE(byPositions.Positions, 100u);
        EXPECT_TRUE(byPositions.Pairs.empty());
        EXPECT_EQ(Solve(game.Grid, game.Places, {0, 1e-6}).Result, SolveResult::Unknown) << seed;
        EXPECT_NE(Solve(game.Grid, game.Places, {0, 0}).Result, SolveResult::Unknown) << seed;
    }
}

// Real deals of every layout, and the same deals after a shuffle and after some
// pairs: every winning sequence must clear the board through the game's rules.
TEST(SolverBoards, WinningSequencesReplayOnDealtBoards) {
    int winnable = 0;
    for (int layout = 1; layout <= LayoutCount; ++layout)
        for (std::uint32_t seed = 1; seed <= 8; ++seed) {
            Game game;
            game.BeginGame(layout, seed, 0);
            if (seed % 2 == 0)
                game.Shuffle();
            const SolveOutcome out = Solve(game.Grid, game.Places, {2'000'000, 0});
            ASSERT_NE(out.Result, SolveResult::Unknown) << "layout " << layout << " seed " << seed;
            if (out.Result != SolveResult::Winnable)
                continue;
            ++winnable;
            ASSERT_EQ(ReplayClears(game.Grid, game.Places, 144, out.Pairs), "")
                << "layout " << layout << " seed " << seed;
            // Half-way through the sequence, the rest is still proved winnable.
            Game half = game;
            for (std::size_t k = 0; k < 36; ++k)
                for (int t : {out.Pairs[k].first, out.Pairs[k].second}) {
                    const TilePlace p = half.Places[t];
                    half.Grid.Set(p.X, p.Y, p.Z, 0);
                    half.Places[t] = {};
                }
            const SolveOutcome rest = Solve(half.Grid, half.Places, {2'000'000, 0});
            ASSERT_EQ(rest.Result, SolveResult::Winnable);
            EXPECT_EQ(ReplayClears(half.Grid, half.Places, 72, rest.Pairs), "");
        }
    // Beatle deals are all but never winnable, Big Hole deals seldom.
    EXPECT_GT(winnable, 20);
}

} // namespace
} // namespace mirelo
