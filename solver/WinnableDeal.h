#pragma once

#include "Game.h"
#include "Solver.h"

#include <cstdint>

namespace mirelo {

struct WinnableDealResult {
    bool Proved = false; // false: the time ran out and the last deal was kept unproved
    int Tries = 0;       // deals made, the kept one included
    int Unproved = 0;    // deals passed over because their own budget ran out
    double Milliseconds = 0;
    std::uint32_t Seed = 0; // the kept deal is exactly BeginGame(layout, Seed, now)
};

struct WinnableDealBudget {
    // What one deal may cost before it is passed over as too hard to prove.
    SolveBudget PerTry{0, 200};
    // The whole deal; past it the last deal is kept.
    double TotalMilliseconds = 2000;
};

// Deals `layout` again and again until the solver proves a deal winnable, and
// leaves `game` exactly as BeginGame(layout, result.Seed, now) would.
//
// Try 1 is BeginGame(layout, seed, now). The seed of try k + 1 is the next
// output of the game's own generator right after try k's deal, so the whole
// chain follows from the first seed. Rejecting and dealing again keeps every
// winnable deal as likely as it is in a plain deal; the one bias left is against
// winnable deals that take longer than PerTry to prove.
WinnableDealResult DealWinnable(Game& game, int layout, std::uint32_t seed, std::uint32_t now,
                                const WinnableDealBudget& budget = {});

} // namespace mirelo
