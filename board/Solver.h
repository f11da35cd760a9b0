#pragma once

#include "BoardGrid.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace mirelo {

// Whether a board can be cleared by the free-tile rule by a player who sees
// every tile. Winnable and Hopeless are proofs; Unknown means the budget ran out
// (or the board handed in was not consistent) and says nothing about the board.
enum class SolveResult { Winnable, Hopeless, Unknown };

struct SolveOutcome {
    SolveResult Result = SolveResult::Unknown;
    // A winning sequence when Winnable: remove the pairs in this order.
    std::vector<std::pair<std::uint8_t, std::uint8_t>> Pairs;
    std::uint64_t Positions = 0; // positions visited
    double Milliseconds = 0;
};

// Whichever limit is reached first ends the search with Unknown.
struct SolveBudget {
    std::uint64_t MaxPositions = 0;
    double MaxMilliseconds = 0;
};

// The techniques of the search, each on by default; switched off one by one only
// to measure what each is worth. None of them changes an answer, only its cost.
struct SolverTechniques {
    // A face whose tiles left are all free is removed at once.
    bool ForcedMoves = true;
    // Positions proved hopeless are remembered and never searched again.
    bool Memo = true;
    // Moves that free the most tiles are tried first.
    bool Ordering = true;
    // Once two tiles of a four-tile face go together the other two are a pair:
    // of the three ways to pair four tiles only those are tried whose pairs can
    // both come free, judged by which tiles lie on which.
    bool Pairing = true;
};

SolveOutcome Solve(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget);
SolveOutcome SolveWith(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget,
                       SolverTechniques techniques);

} // namespace mirelo
