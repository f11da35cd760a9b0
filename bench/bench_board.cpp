// Speed of the rules: the free-tile scan runs on every 10 ms tick, the deal and
// the shuffle on the user-interface thread without yielding.
#include "AllocationCounter.h"
#include "Game.h"
#include "LayoutTemplate.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <new>

namespace {

using mirelo::Game;
using mirelo::bench::Allocations;
using mirelo::bench::ReportAllocations;

void BM_IsItFree_FullTraditional(benchmark::State& state) {
    Game game;
    game.BeginGame(mirelo::LayoutTraditional, 12345, 0);
    const long before = Allocations();
    for (auto _ : state) {
        game.IsItFree();
        benchmark::DoNotOptimize(game.State.MovesLeft);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_IsItFree_FullTraditional);

void BM_Deal(benchmark::State& state) {
    Game game;
    std::uint32_t seed = 0;
    const long before = Allocations();
    for (auto _ : state) {
        game.BeginGame(static_cast<int>(state.range(0)), ++seed, 0);
        benchmark::DoNotOptimize(game.Places);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_Deal)->DenseRange(1, 5)->ArgName("layout");

void BM_Shuffle_FullTraditional(benchmark::State& state) {
    Game game;
    game.BeginGame(mirelo::LayoutTraditional, 777, 0);
    const long before = Allocations();
    for (auto _ : state) {
        game.State.PenaltySeconds = 0;
        benchmark::DoNotOptimize(game.Shuffle());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_Shuffle_FullTraditional);

// Two tiles stacked: no arrangement has a move, so all 101 passes run, each
// drawing thousands of misses on the nearly empty grid.
void BM_Shuffle_WorstCase(benchmark::State& state) {
    Game game;
    game.ClearBoard();
    game.State = {};
    game.State.Phase = mirelo::GamePhase::Running;
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(2, 10, 10, 2);
    game.State.TilesLeft = 2;
    game.Rng.Seed(99);
    const long before = Allocations();
    for (auto _ : state) {
        const auto out = game.Shuffle();
        if (out.Passes != mirelo::MaxShufflePasses)
            state.SkipWithError("expected every pass to run");
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_Shuffle_WorstCase)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
