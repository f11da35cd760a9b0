#pragma once

#include "Solver.h"
#include "SolverBoard.h"
#include "SolverMemo.h"
#include "SolverOrder.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

namespace mirelo {

// The search decides pairings, not moves. Once a face's four tiles are split
// into two pairs, the order of removals no longer matters for that face: a
// decided pair that is free may be taken at once, since taking tiles away never
// blocks another tile and the pair has to go some time. So the search only
// decides, face by face, which of the three pairings each face uses, and takes
// every decided pair as soon as both its tiles are free. A face with a free
// pair is split into "take this pair now" and "it waits for other partners";
// any other face into its matchings one by one.
class SolverSearch {
public:
    using Clock = std::chrono::steady_clock;

    SolverSearch(const SolverBoard& board, SolveBudget budget, SolverTechniques techniques);

    SolveResult Run(Clock::time_point start);

    std::uint64_t Positions() const { return positions_; }
    const std::vector<std::pair<std::uint8_t, std::uint8_t>>& Path() const { return path_; }

private:
    // One way on from a position: face `Face` keeps only the matchings `Allowed`.
    struct Branch {
        std::uint8_t Face = 0;
        std::uint8_t Allowed = 0;
        std::int16_t Score = 0;
    };

    // For each face and matching, a play of the looser game that cleared the
    // board with that matching imposed, and which partners each tile had at
    // hand: kept as long as it still fits the matchings left (SolverShave.cpp).
    struct ShaveRuns {
        std::array<std::array<std::uint8_t, TileCount>, 3 * TileCount / 4> Runs{};
        std::array<bool, 3 * TileCount / 4> Valid{};
        std::array<std::uint8_t, TileCount / 4> States{};
    };

    bool Explore(SolverPosition p, int depth);
    bool OutOfBudget();

    // Taking tiles (SolverSearch.cpp).
    void Remove(SolverPosition& p, int i) const;
    void TakePair(SolverPosition& p, int face, unsigned pair);
    void Settle(SolverPosition& p);

    // Dropping the matchings the looser game rules out (SolverShave.cpp).
    bool Shave(SolverPosition& p, ShaveRuns& runs, bool& decidedMore);

    // Reasoning on the order of removals (SolverSearchOrder.cpp).
    bool Propagate(SolverPosition& p, SolverOrder& order, bool& decidedMore) const;
    bool Decide(const SolverPosition& p, SolverOrder& order, int face, unsigned pair) const;
    bool PairFits(const SolverPosition& p, const SolverOrder& order, int face, unsigned pair) const;
    bool MatchingFits(const SolverPosition& p, const SolverOrder& order, int face, int m) const;

    // Choosing the face to decide (SolverChoice.cpp).
    int Branches(const SolverPosition& p, std::array<Branch, 4>& out) const;
    static unsigned Ready(const SolverPosition& p, int face);
    int Gain(const SolverPosition& p, int face, int m) const;
    int Cost(const SolverPosition& p, int face, int m) const;

    const SolverBoard& board_;
    const SolverTechniques techniques_;
    const std::uint64_t maxPositions_;
    const double maxMilliseconds_;
    SolverMemo memo_;
    // What is known at each depth of the search; a branch works on a copy.
    std::vector<SolverOrder> orders_;
    std::vector<ShaveRuns> shaves_;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> path_;
    // How often each face's choices failed: faces that keep failing are decided first.
    std::array<std::uint32_t, TileCount / 4> conflicts_{};
    std::uint64_t positions_ = 0;
    std::uint64_t phaseEnd_ = 0;
    bool shave_ = false;
    bool aborted_ = false;
    Clock::time_point start_;
};

} // namespace mirelo
