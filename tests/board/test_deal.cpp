#include "BoardFixtures.h"
#include "LayoutTemplate.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <set>

namespace mirelo {
namespace {

using test::CheckInvariants;

class DealOnLayout : public ::testing::TestWithParam<int> {};

TEST_P(DealOnLayout, FillsExactlyTheSlotsWithDistinctTiles) {
    const int layout = GetParam();
    Game game;
    for (std::uint32_t seed : {0u, 1u, 86'399'999u, 4'000'000'000u}) {
        game.BeginGame(layout, seed, 1000);
        EXPECT_EQ(test::OccupiedCells(game), test::LayoutSlots(layout)) << "seed " << seed;
        std::set<int> tiles;
        for (int t = 1; t <= 144; ++t) {
            ASSERT_TRUE(game.Places[t].OnBoard()) << "tile " << t;
            tiles.insert(game.Grid.At(game.Places[t].X, game.Places[t].Y, game.Places[t].Z));
        }
        EXPECT_EQ(tiles.size(), 144u);
        EXPECT_EQ(*tiles.begin(), 1);
        EXPECT_EQ(*tiles.rbegin(), 144);
        EXPECT_EQ(CheckInvariants(game), "");
    }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, DealOnLayout, ::testing::Range(1, 6));

TEST(Deal, NewLayoutLeavesNothingOfThePreviousGame) {
    Game game;
    game.BeginGame(LayoutBeatle, 99, 0);
    game.BeginGame(LayoutBigHole, 100, 0);
    EXPECT_EQ(test::OccupiedCells(game), test::LayoutSlots(LayoutBigHole));
    for (int x = 1; x <= GridColumns; ++x)
        for (int y = 1; y <= GridRows; ++y)
            EXPECT_EQ(game.Grid.At(x, y, 5), 0);
}

TEST(Deal, SameSeedSameDealOtherSeedOtherDeal) {
    Game a, b, c;
    a.BeginGame(LayoutTraditional, 123456, 0);
    b.BeginGame(LayoutTraditional, 123456, 777);
    c.BeginGame(LayoutTraditional, 123457, 0);
    EXPECT_EQ(a.Places, b.Places);
    EXPECT_NE(a.Places, c.Places);
}

// The generator and the deal are pinned: a deal seeded by a test, a saved seed
// or a bug report must stay the same deal in every later version.
TEST(Deal, GoldenTraditionalDeal) {
    Game game;
    game.BeginGame(LayoutTraditional, 45'296'789, 0); // 12:34:56.789 UTC
    const std::array<std::pair<int, TilePlace>, 6> golden{{
        {1, TilePlace{15, 11, 1}},
        {2, TilePlace{17, 13, 2}},
        {72, TilePlace{21, 15, 1}},
        {109, TilePlace{17, 5, 2}},
        {143, TilePlace{23, 5, 1}},
        {144, TilePlace{17, 9, 3}},
    }};
    for (const auto& [tile, place] : golden)
        EXPECT_EQ(game.Places[tile], place) << "tile " << tile;
}

TEST(Deal, BeginGameStartsAFreshGame) {
    Game game;
    game.BeginGame(LayoutTraditional, 5, 0);
    game.State.Phase = GamePhase::Won;
    game.State.HintIndex = 3;
    game.State.HintFirst = 1;
    game.State.HintSecond = 2;
    game.State.FirstPick = 3;
    game.State.PenaltySeconds = 80;
    game.State.ElapsedSeconds = 12;
    game.State.PausedTicks = 5000;
    game.State.TilesLeft = 10;
    game.BeginGame(LayoutTheater, 6, 424242);
    const GameState& s = game.State;
    EXPECT_EQ(s.Phase, GamePhase::Running);
    EXPECT_EQ(s.TilesLeft, 144);
    EXPECT_EQ(s.HintIndex + s.HintFirst + s.HintSecond + s.FirstPick + s.SecondPick, 0);
    EXPECT_EQ(s.ElapsedSeconds + s.PenaltySeconds + s.PausedTicks, 0);
    EXPECT_EQ(s.StartTick, 424242);
}

TEST(RandomGenerator, GoldenOutputs) {
    RandomGenerator rng(45'296'789);
    EXPECT_EQ(rng.Next(), 2791405049u);
    EXPECT_EQ(rng.Next(), 226591940u);
    EXPECT_EQ(rng.Next(), 1872617891u);
    EXPECT_EQ(rng.Next(), 394798913u);
}

TEST(RandomGenerator, StaysInRangeAndCoversIt) {
    RandomGenerator rng(42);
    for (std::uint32_t n : {1u, 2u, 5u, 20u, 34u, 1000u, 0x80000001u}) {
        std::uint32_t lowest = n, highest = 0;
        for (int i = 0; i < 20000; ++i) {
            const std::uint32_t r = rng.Random(n);
            ASSERT_LT(r, n);
            lowest = std::min(lowest, r);
            highest = std::max(highest, r);
        }
        if (n <= 1000) {
            EXPECT_EQ(lowest, 0u) << n;
            EXPECT_EQ(highest, n - 1) << n;
        } else {
            EXPECT_GT(highest, n / 2) << n;
        }
    }
}

TEST(RandomGenerator, Random34IsUniform) {
    // Chi-square over 34 buckets, 33 degrees of freedom: 63.9 is the 0.1 % tail,
    // so a fair generator fails this about once in a thousand seeds; this seed is fixed.
    RandomGenerator rng(2024);
    std::array<int, 34> buckets{};
    const int draws = 340'000;
    for (int i = 0; i < draws; ++i)
        ++buckets[rng.Random(34)];
    double chi = 0;
    for (int b : buckets)
        chi += (b - 10000.0) * (b - 10000.0) / 10000.0;
    EXPECT_LT(chi, 63.9);
}

TEST(RandomGenerator, NoModuloBiasForLargeRanges) {
    // With n just above 2^31 a plain modulo would put two thirds of the draws in
    // the lower half; an exact method puts half there.
    RandomGenerator rng(7);
    const std::uint32_t n = 0xC0000000u;
    int lower = 0;
    const int draws = 200'000;
    for (int i = 0; i < draws; ++i)
        lower += rng.Random(n) < n / 2 ? 1 : 0;
    EXPECT_NEAR(lower / double(draws), 0.5, 0.01);
}

} // namespace
} // namespace mirelo
