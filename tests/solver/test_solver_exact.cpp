#include "SolverTestSupport.h"

#include <array>
#include <gtest/gtest.h>

namespace mirelo {
namespace {

using test::ClearableByBruteForce;
using test::RandomSmallBoard;
using test::ReplayClears;
using test::SmallBoard;

constexpr SolveBudget Unlimited{0, 0};

struct Tally {
    int Winnable = 0;
    int Hopeless = 0;
};

// Every answer is checked: a winnable board must be winnable by brute force and
// its sequence must clear it through the game's picking rules; a hopeless board
// must be hopeless by brute force. Unknown is never allowed without a budget.
void CheckAgainstBruteForce(std::uint32_t seed, int boards, SolverTechniques techniques,
                            Tally& tally) {
    RandomGenerator dice(seed);
    for (int k = 0; k < boards; ++k) {
        const int tiles = 2 * (1 + static_cast<int>(dice.Random(8)));
        const SmallBoard board = RandomSmallBoard(dice, tiles);
        const bool clearable = ClearableByBruteForce(board);
        const SolveOutcome out = SolveWith(board.Grid, board.Places, Unlimited, techniques);
        ASSERT_NE(out.Result, SolveResult::Unknown) << "board " << k;
        ASSERT_EQ(out.Result == SolveResult::Winnable, clearable)
            << "seed " << seed << " board " << k;
        if (clearable) {
            ++tally.Winnable;
            ASSERT_EQ(out.Pairs.size(), static_cast<std::size_t>(board.Tiles / 2));
            ASSERT_EQ(ReplayClears(board.Grid, board.Places, board.Tiles, out.Pairs), "")
                << "board " << k;
        } else {
            ++tally.Hopeless;
            EXPECT_TRUE(out.Pairs.empty());
        }
    }
}

TEST(SolverExactness, AgreesWithBruteForceOnRandomSmallBoards) {
    Tally tally;
    CheckAgainstBruteForce(20240601, 20000, SolverTechniques{}, tally);
    // The boards must test both answers in earnest.
    EXPECT_GT(tally.Winnable, 4000);
    EXPECT_GT(tally.Hopeless, 2000);
}

// Each technique only saves time: with any one of them off the answers stay the
// same, which also checks the search does not rely on one to be right.
TEST(SolverExactness, EveryTechniqueOffGivesTheSameAnswers) {
    const auto off = [](bool SolverTechniques::*technique) {
        SolverTechniques t;
        t.*technique = false;
        return t;
    };
    Tally tally;
    std::uint32_t seed = 777;
    for (bool SolverTechniques::*technique :
         {&SolverTechniques::ForcedMoves, &SolverTechniques::Memo, &SolverTechniques::Ordering,
          &SolverTechniques::Pairing, &SolverTechniques::Order, &SolverTechniques::Relaxation,
          &SolverTechniques::Shaving})
        CheckAgainstBruteForce(seed++, 2000, off(technique), tally);
    CheckAgainstBruteForce(
        seed++, 2000, SolverTechniques{false, false, false, false, false, false, false}, tally);
    EXPECT_GT(tally.Hopeless, 1500);
}

// Shaving normally starts only after a quick search; here it runs from the
// first position, with its plays kept and checked along the way.
TEST(SolverExactness, ShavingFromTheStartAgrees) {
    SolverTechniques shaving;
    shaving.QuickPositions = 0;
    Tally tally;
    CheckAgainstBruteForce(4242, 6000, shaving, tally);
    EXPECT_GT(tally.Hopeless, 600);
}

// Boards of up to 32 tiles, too large for brute force: the full solver, shaving
// from the start, must agree with a plain search that only decides pairings
// and remembers failures (itself checked against brute force above).
TEST(SolverExactness, AgreesWithPlainSearchOnLargerBoards) {
    SolverTechniques full;
    full.QuickPositions = 0;
    const SolverTechniques plain{true, true, false, false, false, false, false};
    RandomGenerator dice(31337);
    Tally tally;
    for (int k = 0; k < 5000; ++k) {
        const SmallBoard board = RandomSmallBoard(dice, 20 + 2 * static_cast<int>(dice.Random(7)));
        const SolveOutcome out = SolveWith(board.Grid, board.Places, {0, 0}, full);
        const SolveOutcome reference = SolveWith(board.Grid, board.Places, {0, 0}, plain);
        ASSERT_EQ(out.Result, reference.Result) << "board " << k;
        if (out.Result == SolveResult::Winnable) {
            ++tally.Winnable;
            ASSERT_EQ(ReplayClears(board.Grid, board.Places, board.Tiles, out.Pairs), "") << k;
        } else {
            ++tally.Hopeless;
        }
    }
    EXPECT_GT(tally.Winnable, 1000);
    EXPECT_GT(tally.Hopeless, 1000);
}

// Up to sixteen tiles crowded on a few rows of one level: long side-by-side
// chains with half-tile neighbours, where the row reasoning does the most.
TEST(SolverExactness, AgreesOnCrowdedSingleLevels) {
    RandomGenerator dice(99);
    int hopeless = 0;
    for (int k = 0; k < 3000; ++k) {
        SmallBoard board;
        const int tiles = 2 * (2 + static_cast<int>(dice.Random(7)));
        const std::uint32_t pool = 1 + dice.Random(2);
        std::array<int, 36> used{};
        for (int placed = 0; placed < tiles; placed += 2) {
            int f = static_cast<int>(dice.Random(pool));
            while (used[f] == 4)
                f = (f + 1) % 36;
            for (int twice = 0; twice < 2; ++twice) {
                int x = 0, y = 0;
                do {
                    x = 3 + 2 * static_cast<int>(dice.Random(7)) + (dice.Random(5) == 0);
                    y = dice.Random(4) == 0 ? 4 : 3 + 2 * static_cast<int>(dice.Random(2));
                } while (board.Grid.At(x, y, 1) != 0);
                board.Put(4 * f + ++used[f], x, y, 1);
            }
        }
        const bool clearable = ClearableByBruteForce(board);
        const SolveOutcome out = Solve(board.Grid, board.Places, Unlimited);
        ASSERT_EQ(out.Result, clearable ? SolveResult::Winnable : SolveResult::Hopeless) << k;
        if (clearable) {
            ASSERT_EQ(ReplayClears(board.Grid, board.Places, board.Tiles, out.Pairs), "") << k;
        }
        hopeless += !clearable;
    }
    EXPECT_GT(hopeless, 80);
}

} // namespace
} // namespace mirelo
