#pragma once

#include "Game.h"
#include "Shadow.h"
#include "SoakView.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace mirelo::soak {

// Everything the player and the window can do to a game.
enum class Command : std::uint8_t {
    Tick,          // the 10 ms timer: clock, status recount, win and time limit
    TimeJump,      // the machine slept: a long gap, then a tick
    PickFree,      // left click on a free tile
    PickMatch,     // a free tile of the selected tile's face
    PickOtherFree, // any other free tile
    PickSame,      // the selected tile again
    PickHinted,    // one of the hinted pair, maybe gone since
    PickNotFree,   // a tile on the board that is not free
    PickOffBoard,  // a removed tile or a number no tile has
    PickEmpty,     // a click that hits no tile
    DropPicks,     // right click
    Hint,
    Back,
    Restart,
    Shuffle,
    Pause, // on and off
    Stop,
    New,
    Count
};
inline constexpr int CommandCount = static_cast<int>(Command::Count);
const char* CommandName(Command command);
const char* PhaseName(GamePhase phase);

// What the games did, summed over the run.
struct Stats {
    long long Games = 0, Deals = 0, Steps = 0;
    std::array<long long, CommandCount> Issued{};
    long long Ignored = 0; // clicks the window drops: no game running, or paused
    long long Selected = 0, Refused = 0, Unselected = 0, LetGo = 0, Removed = 0;
    long long HintsShown = 0, HintsRefused = 0;
    long long BacksDone = 0, BacksRefused = 0, BacksAfterStop = 0;
    long long RestartsDone = 0, RestartsRefused = 0, RestartsAfterShuffle = 0;
    long long Shuffles = 0, ShufflesRefused = 0, ShufflesBlocked = 0, ShufflePasses = 0;
    long long Pauses = 0, Resumes = 0, PausesRefused = 0;
    long long Stops = 0, StopsEndingPause = 0, TimeUps = 0, TimeUpsWhilePaused = 0;
    long long Wins = 0, WinsWhilePaused = 0, Wraps = 0, StepCaps = 0, DealsReplayed = 0;
};

// The rules' state as the soak predicts it, step by step.
struct Expected {
    std::uint8_t FirstPick = 0;
    std::uint8_t HintFirst = 0;
    std::uint8_t HintSecond = 0;
    std::uint8_t HintIndex = 0;
    // The free-tile counts as the rules last computed them: a tick, a hint
    // and a shuffle recount; nothing else does.
    int FreeCount = 0;
    int MovesLeft = 0;
    std::array<std::uint8_t, 144> FreeList{};
    bool GameOver = true;
    bool GameWon = false;
    bool WinAnnounced = false;
    bool Paused = false;
    std::int32_t ElapsedSeconds = 0;
    std::int32_t PenaltySeconds = 0;
    std::int32_t PausedTicks = 0;
    // Milliseconds played, and spent in the current pause; the clock is
    // checked against these sums rather than against StartTick.
    std::int64_t PlayMs = 0;
    std::int64_t PauseMs = 0;
    std::int32_t LastRunningElapsed = 0;
};

// Plays seeded random games as a player at the window would, and checks every
// rule after every step against its own model.
class SoakRun {
public:
    explicit SoakRun(Stats& stats);
    ~SoakRun();

    // Plays the game of `seed`; false, with Failure() set, when a rule broke.
    // `trace` prints every step, for replaying one seed.
    bool Play(std::uint32_t seed, bool trace);
    const std::string& Failure() const { return failure_; }

private:
    struct Snapshot {
        BoardGrid Grid;
        TilePlaces Places{};
        int Generation = 0;
    };

    // Player and window (SoakRun.cpp).
    Command Choose();
    Command ChooseRunning();
    std::uint8_t ChooseTile(Command& command);
    std::uint32_t DelayFor(Command command);
    std::uint32_t Roll(std::uint32_t n);
    void Advance(std::uint32_t ms);
    std::uint32_t Now() const { return static_cast<std::uint32_t>(wall_); }
    bool Step(Command command);
    void Trace(Command command) const;

    // One handler per command: runs it and checks what it did (SoakCommands.cpp).
    bool DoTick();
    bool CheckQuietSpan(const TickOutcome& turn);
    bool DoClick(std::uint8_t tile);
    bool DoDropPicks();
    bool DoHint();
    bool DoBack();
    bool DoRestart();
    bool DoShuffle();
    bool DoPause();
    bool DoStop();
    bool DoNew(int layout);

    // Checks after every step (SoakChecks.cpp).
    bool CheckDeal(int layout);
    bool AdoptShuffle();
    bool CheckAll();
    bool CheckGrid();
    bool CheckBoard();
    void TakeCounts();
    bool ExpectCalls(int count);
    bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Patch(Anchor at, int value) { patches_[patchCount_++] = {at.X, at.Y, at.Z, value}; }

    Stats& stats_;
    Game game_;
    SoakView view_{game_};

    // The model.
    Shadow shadow_;
    Expected exp_;
    // The last turn of the clock, when it came, and whether any command came since.
    TickOutcome lastTurn_;
    std::uint32_t lastTurnAt_ = 0;
    bool commandSinceTurn_ = true;
    std::array<std::uint8_t, 144> historyTile_{};
    std::array<Anchor, 144> historyPlace_{};
    int removed_ = 0;
    std::unique_ptr<std::array<Snapshot, 72>> removals_; // the board before each removal
    std::unique_ptr<Snapshot> dealt_;
    int generation_ = 0; // moves on at every deal and shuffle
    int dealGeneration_ = 0;

    // The grid and places as the last step's checks found them. After deals,
    // shuffles, restarts and every 64th step the grid is checked cell by cell
    // against the model; after other steps it must be the last checked grid
    // with the few cells a removal or Back touched.
    BoardGrid checkedGrid_;
    TilePlaces checkedPlaces_{};
    bool fullScan_ = false;
    int patchCount_ = 0;
    std::array<std::array<int, 4>, 2> patches_{}; // x, y, z, new value

    // The player.
    std::uint64_t dice_ = 0;
    std::uint64_t wall_ = 0; // milliseconds; the rules see its low 32 bits
    int layout_ = 1;
    int deals_ = 0;
    int afterEnd_ = 0;         // commands still to try on a finished game
    int backedTile_ = 1;       // of the pair the last Back put back
    int deadEndTiles_ = 0;     // tiles left at the last step the player was stuck
    int deadEndVisits_ = 0;    // stuck steps in a row at that count
    int shuffleBlockedAt_ = 0; // most tiles left at which a shuffle found no move
    bool ended_ = false;

    // The run and its report.
    std::uint32_t seed_ = 0;
    int step_ = 0;
    bool wrapped_ = false;
    bool trace_ = false;
    Command current_ = Command::Tick;
    int argument_ = 0;
    std::string failure_;
};

} // namespace mirelo::soak
