#pragma once

#include "Game.h"

#include <string>
#include <utility>
#include <vector>

namespace mirelo::test {

// Records what the rules ask of the window, as short strings ("ok 5", "bip",
// "tile 5", "removed", "full"), and checks the removal order as it happens.
class RecordingView final : public BoardView {
public:
    explicit RecordingView(const Game& game) : game_(game) {}

    void SonOK(std::uint8_t tile) override { Events.push_back("ok " + std::to_string(tile)); }
    void SonBip() override { Events.push_back("bip"); }
    void RedrawTile(std::uint8_t tile) override;
    void PairRemovedSound() override { Events.push_back("removed"); }
    void FullRedraw() override { Events.push_back("full"); }

    std::vector<std::string> Take() { return std::exchange(Events, {}); }

    std::vector<std::string> Events;
    // Set when a tile was redrawn while its place was already cleared, or while
    // a tile being removed was still in the grid: the window would draw the
    // wrong box or the removed tile.
    bool OrderBroken = false;

private:
    const Game& game_;
};

// Every tile on the board is in the grid where its place says, and nowhere else;
// the history below 144 - TilesLeft holds exactly the tiles off the board.
// Returns an empty string when all holds, else what is wrong. Hand-built
// positions have no history behind them: pass false to skip that part.
std::string CheckInvariants(const Game& game, bool withHistory = true);

// The anchors of `layout`, as a set of (x, y, z) packed into ints.
std::vector<int> LayoutSlots(int layout);
// The occupied cells of the grid, packed the same way.
std::vector<int> OccupiedCells(const Game& game);

// Free tiles and moves counted the slow, obvious way, to check IsItFree.
struct Counts {
    int Free = 0;
    int Moves = 0;
};
Counts CountByBruteForce(const Game& game);

// A game in the playing state on an empty board, for hand-built positions.
Game EmptyPlayingGame();

// Finds a free matching pair; false when there is none.
bool FindMatchingFreePair(const Game& game, std::uint8_t& a, std::uint8_t& b);

} // namespace mirelo::test
