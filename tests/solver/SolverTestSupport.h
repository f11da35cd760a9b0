#pragma once

#include "Game.h"
#include "Solver.h"

#include <string>
#include <utility>
#include <vector>

namespace mirelo::test {

// A hand-built board: the grid, the places and how many tiles lie on it.
struct SmallBoard {
    BoardGrid Grid;
    TilePlaces Places{};
    int Tiles = 0;

    void Put(int tile, int x, int y, int z);
};

// Whether the board can be cleared, by trying every legal pair in every order
// (positions met twice are looked up, which changes nothing but the time).
// Knows nothing of the solver; for boards of up to 20 tiles.
bool ClearableByBruteForce(const SmallBoard& board);

// A random board of `tiles` tiles (even, at most 32) on a small patch of up to
// three levels, every face used two or four times, anchors sometimes half a
// tile off, and sometimes a cell that never empties.
SmallBoard RandomSmallBoard(RandomGenerator& dice, int tiles);

// Plays the pairs through the game's own picking rules on a board of `tiles`
// tiles and returns what went wrong, or an empty string when every pick was
// accepted and the board ended empty.
std::string ReplayClears(const BoardGrid& grid, const TilePlaces& places, int tiles,
                         const std::vector<std::pair<std::uint8_t, std::uint8_t>>& pairs);

} // namespace mirelo::test
