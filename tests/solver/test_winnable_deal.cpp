#include "LayoutTemplate.h"
#include "SolverTestSupport.h"
#include "WinnableDeal.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

// Everything BeginGame sets, the generator's state included (through its next
// outputs, which the shuffle would draw).
void ExpectSameGame(Game& a, Game& b) {
    EXPECT_EQ(a.Grid, b.Grid);
    EXPECT_EQ(a.Places, b.Places);
    EXPECT_EQ(a.State.TilesLeft, b.State.TilesLeft);
    EXPECT_EQ(a.State.StartTick, b.State.StartTick);
    EXPECT_EQ(a.State.Phase, b.State.Phase);
    EXPECT_EQ(a.State.HintIndex, b.State.HintIndex);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(a.Rng.Next(), b.Rng.Next());
}

// A try's budget counted in positions, so that which deal is kept does not
// depend on the machine's speed; the whole deal is bounded only so that a fault
// fails the test instead of hanging it.
constexpr WinnableDealBudget Generous{{3'000'000, 0}, 60'000};

TEST(WinnableDeal, EveryKeptDealIsProvedWinnableAndIsAPlainDeal) {
    int passedOver = 0;
    for (int layout = 1; layout <= LayoutCount; ++layout)
        for (std::uint32_t seed : {1u, 2u, 3u, 45'296'789u}) {
            Game game;
            const WinnableDealResult r = DealWinnable(game, layout, seed, 4242, Generous);
            ASSERT_TRUE(r.Proved) << "layout " << layout << " seed " << seed;
            EXPECT_GE(r.Tries, 1);
            EXPECT_LT(r.Unproved, r.Tries);
            passedOver += r.Tries - 1;

            Game plain;
            plain.BeginGame(layout, r.Seed, 4242);
            ExpectSameGame(game, plain);

            const SolveOutcome out = Solve(game.Grid, game.Places, Generous.PerTry);
            ASSERT_EQ(out.Result, SolveResult::Winnable);
            EXPECT_EQ(test::ReplayClears(game.Grid, game.Places, 144, out.Pairs), "");
        }
    // Hard layouts deal hopeless boards often enough that some must be passed over.
    EXPECT_GT(passedOver, 0);
}

TEST(WinnableDeal, SeedsChainThroughTheGamesGenerator) {
    // One position a try proves nothing, so every try is passed over until the
    // time is up, and the last deal is kept unproved.
    Game game;
    const WinnableDealResult r = DealWinnable(game, LayoutTraditional, 7, 0, {{1, 0}, 30});
    EXPECT_FALSE(r.Proved);
    EXPECT_GE(r.Tries, 2);
    // A try proved hopeless before its first position is not counted unproved.
    EXPECT_GT(r.Unproved, 0);
    EXPECT_LE(r.Unproved, r.Tries);

    Game replay;
    std::uint32_t seed = 7;
    for (int k = 1; k < r.Tries; ++k) {
        replay.BeginGame(LayoutTraditional, seed, 0);
        seed = replay.Rng.Next();
    }
    EXPECT_EQ(seed, r.Seed);
    replay.BeginGame(LayoutTraditional, seed, 0);
    ExpectSameGame(game, replay);
}

TEST(WinnableDeal, FirstTryIsTheDealBeginGameMakes) {
    // Seed 1 on Traditional is proved winnable at once: nothing is passed over.
    Game game;
    const WinnableDealResult r = DealWinnable(game, LayoutTraditional, 1, 99, Generous);
    ASSERT_TRUE(r.Proved);
    ASSERT_EQ(r.Tries, 1);
    EXPECT_EQ(r.Seed, 1u);
    Game plain;
    plain.BeginGame(LayoutTraditional, 1, 99);
    ExpectSameGame(game, plain);
}

} // namespace
} // namespace mirelo
