#pragma once

#include "BoardGrid.h"
#include "GameState.h"
#include "MoveHistory.h"
#include "RandomGenerator.h"

#include <cstdint>

namespace mirelo {

inline constexpr int HintPenaltySeconds = 40;
inline constexpr int ShufflePenaltyPerMove = 10;
inline constexpr int MaxShufflePasses = 101;
inline constexpr int TimeLimitSeconds = 6000;

// Whether the "no more moves" warning shows at tick `now`: it blinks once a
// second, shown in the first half of each second, whatever the tick's value.
constexpr bool NoMovesWarningShown(std::uint32_t now) {
    return now % 1000 <= 500;
}

// What the rules ask of the window while they work, in the order the game
// requires: the window turns these into sounds and redraws.
class BoardView {
public:
    virtual ~BoardView() = default;
    // Acceptance sound, then the tile redrawn with its new selection look.
    virtual void SonOK(std::uint8_t tile) = 0;
    // Refusal sound.
    virtual void SonBip() = 0;
    // Refresh one tile's box; the tile's place is still in TilePlaces.
    virtual void RedrawTile(std::uint8_t tile) = 0;
    // Sound of a removed pair.
    virtual void PairRemovedSound() = 0;
    // Refresh the whole board.
    virtual void FullRedraw() = 0;
};

// A view that asks for nothing: for playing moves where nothing is shown.
class NullBoardView final : public BoardView {
public:
    void SonOK(std::uint8_t) override {}
    void SonBip() override {}
    void RedrawTile(std::uint8_t) override {}
    void PairRemovedSound() override {}
    void FullRedraw() override {}
};

// What one turn of the clock did, in the order the window shows it.
struct TickOutcome {
    // A game was in play: the panels show the counts below.
    bool Counted = false;
    int TilesLeft = 0;
    int MovesLeft = 0;
    int Seconds = 0; // the total shown; -1 while paused, when the time is hidden
    // The board was found cleared: the game is over and won, and the counts are final.
    bool Won = false;
    // Tiles remain and no pair is free: the warning blinks, shown or not now.
    bool NoMoves = false;
    bool WarningShown = false;
    // The limit ended the game after the counts were taken.
    bool TimeUp = false;
    // Milliseconds until the next turn can change what the window shows, if
    // nothing else happens meanwhile; NoChangeDue when nothing will.
    std::uint32_t NextChangeIn = 0;
};

inline constexpr std::uint32_t NoChangeDue = 0xFFFFFFFFu;

struct ShuffleOutcome {
    bool Performed = false; // false when the state forbids a shuffle
    int Passes = 0;
    int MovesLeft = 0; // after the last pass; "Tiles shuffled." only when > 0
};

// The board, the removal history and the game's counters, with every rule that
// changes them. Plain data on purpose: the window and the tests read the fields
// directly, and nothing here allocates.
struct Game {
    BoardGrid Grid;
    TilePlaces Places{};
    MoveHistory History{};
    GameState State;
    RandomGenerator Rng;

    // Seeds the generator, deals `layout` and starts the clock at `now`.
    void BeginGame(int layout, std::uint32_t seed, std::uint32_t now);
    // Copies the layout into the grid and puts tiles 1..144 on random slots.
    void Deal(int layout);
    // Rewinds every removed pair, one FullRedraw each, and restarts the clock.
    bool Restart(std::uint32_t now, BoardView& view);
    // Ends a game in play; returns true when it ended a pause (captions to restore).
    bool StopGame(std::uint32_t now);

    // The free-tile rule for a tile on the board.
    bool IsFree(int tile) const;
    // Recounts FreeCount, FreeList and MovesLeft.
    void IsItFree();
    // Shows the next possible move; true when a hint was set (redraw and charge).
    bool Hint();

    // A left click that hit `tile` (non-zero): picking, refusal and removal.
    void Pick(std::uint8_t tile, BoardView& view);
    // A right click: drops the picks and the hint.
    void DropPicks(BoardView& view);
    // Puts the last removed pair back; false when nothing may be undone.
    bool Back(BoardView& view);
    void GoBack();

    ShuffleOutcome Shuffle();

    // One turn of the clock at tick `now`, in the game's order: the clock, the
    // move recount, a cleared board noticed (the win ends the game), then the
    // time limit.
    TickOutcome Tick(std::uint32_t now);
    // The clock, from a 32-bit tick count that wraps.
    void UpdateClock(std::uint32_t now);
    // Pauses or resumes; false when no game runs.
    bool PauseClick(std::uint32_t now);
    bool TimeIsUp() const { return State.TotalSeconds() >= TimeLimitSeconds; }

    // Puts a tile on the board, for hand-built positions.
    void PlaceTile(std::uint8_t tile, int x, int y, int z);
    // Empties grid and places.
    void ClearBoard();

private:
    void TestStile2(BoardView& view);
    void PairCheck(BoardView& view);
    void RemoveFromBoard(std::uint8_t tile, BoardView& view);
    void ShufflePass();
    std::uint32_t NextChangeIn(std::uint32_t now, bool noMoves) const;
};

// The free-tile rule on a grid: one side open, nothing on top.
bool IsTileFree(const BoardGrid& grid, const TilePlace& place);

} // namespace mirelo
