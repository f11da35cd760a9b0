#include "Solver.h"

#include "SolverBoard.h"
#include "SolverSearch.h"

#include <chrono>
#include <memory>

namespace mirelo {

SolveOutcome SolveWith(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget,
                       SolverTechniques techniques) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    SolveOutcome outcome;
    // Some 30 kB of masks, so kept off the caller's stack.
    auto board = std::make_unique<SolverBoard>();
    if (!board->Load(grid, places)) {
        outcome.Result = SolveResult::Unknown;
    } else if (board->ProvablyHopeless(techniques.Pairing)) {
        outcome.Result = SolveResult::Hopeless;
    } else {
        SolverSearch search(*board, budget, techniques);
        outcome.Result = search.Run(start);
        outcome.Positions = search.Positions();
        if (outcome.Result == SolveResult::Winnable)
            outcome.Pairs = search.Path();
    }
    outcome.Milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return outcome;
}

SolveOutcome Solve(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget) {
    return SolveWith(grid, places, budget, SolverTechniques{});
}

} // namespace mirelo
