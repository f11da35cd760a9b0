#include "WinnableDeal.h"

#include <algorithm>
#include <chrono>

namespace mirelo {

WinnableDealResult DealWinnable(Game& game, int layout, std::uint32_t seed, std::uint32_t now,
                                const WinnableDealBudget& budget) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const auto elapsed = [start] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };

    WinnableDealResult result;
    for (;;) {
        game.BeginGame(layout, seed, now);
        result.Seed = seed;
        ++result.Tries;
        // A try never runs past the whole deal's bound.
        SolveBudget tryBudget = budget.PerTry;
        const double left = budget.TotalMilliseconds - elapsed();
        if (tryBudget.MaxMilliseconds <= 0 || tryBudget.MaxMilliseconds > left)
            tryBudget.MaxMilliseconds = std::max(left, 0.001);
        const SolveResult answer = Solve(game.Grid, game.Places, tryBudget).Result;
        if (answer == SolveResult::Winnable) {
            result.Proved = true;
            break;
        }
        if (answer == SolveResult::Unknown)
            ++result.Unproved;
        if (elapsed() >= budget.TotalMilliseconds)
            break;
        seed = game.Rng.Next();
    }
    result.Milliseconds = elapsed();
    return result;
}

} // namespace mirelo
