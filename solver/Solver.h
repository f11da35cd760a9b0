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

// Whichever limit is reached first ends the search with Unknown. A limit of 0
// is no limit. The clock is read every position once the search is slow, and
// every 64 positions before, so a budget is overrun by well under a millisecond.
struct SolveBudget {
    std::uint64_t MaxPositions = 0;
    double MaxMilliseconds = 0;
};

// The techniques of the search, each on by default; switched off one by one only
// to measure what each is worth. None of them changes an answer, only its cost.
struct SolverTechniques {
    // A face whose four tiles are all free leaves at once.
    bool ForcedMoves = true;
    // Positions proved hopeless are remembered and never searched again.
    bool Memo = true;
    // The face to decide is the one whose choices failed most, then one with a
    // free pair; its pairings are tried freeing the most tiles first.
    bool Ordering = true;
    // Of the three ways to pair a face's four tiles, those are dropped at the
    // start whose pairs could never leave, judged by piles and rows.
    bool Pairing = true;
    // The order of removals that piles, rows and decided pairs impose is kept,
    // and a pairing that would make tiles wait for each other is dropped.
    bool Order = true;
    // A position is given up when even a looser game cannot be cleared, where a
    // tile may leave alone once a partner it may pair with is free or gone.
    bool Relaxation = true;
    // Each pairing still allowed is tried alone in the looser game and dropped
    // when that game cannot be cleared with it. It costs far more a position,
    // so it starts only when a quick search without it has not settled the
    // board within QuickPositions positions (0: from the start).
    bool Shaving = true;
    std::uint64_t QuickPositions = 200;
};

SolveOutcome Solve(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget);
SolveOutcome SolveWith(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget,
                       SolverTechniques techniques);

} // namespace mirelo
