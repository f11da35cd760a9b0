#pragma once

#include <array>
#include <cstdint>

namespace mirelo {

// Where the game stands. A game is dealt Running; Pause toggles Running and
// Paused; Stop and the time limit end it Stopped, a cleared board ends it Won.
enum class GamePhase : std::uint8_t {
    Stopped, // no game runs: none dealt yet, stopped, or out of time
    Running,
    Paused,
    Won, // cleared, and the win announced
};

// The one game's counters and its phase.
struct GameState {
    std::uint8_t TilesLeft = 144;
    std::uint8_t MovesLeft = 0;
    std::uint8_t FreeCount = 0;
    std::array<std::uint8_t, 144> FreeList{}; // ascending; the first FreeCount are valid
    std::uint8_t FirstPick = 0;
    std::uint8_t SecondPick = 0;
    std::uint8_t HintFirst = 0;
    std::uint8_t HintSecond = 0;
    std::uint8_t HintIndex = 0;
    std::int32_t StartTick = 0;
    std::int32_t PausedTicks = 0;
    std::int32_t ElapsedSeconds = 0;
    std::int32_t PenaltySeconds = 0;
    GamePhase Phase = GamePhase::Stopped;

    std::int32_t TotalSeconds() const { return ElapsedSeconds + PenaltySeconds; }
    // Tiles may be picked, and Hint, Shuffle and Restart act.
    bool Running() const { return Phase == GamePhase::Running; }
    bool Paused() const { return Phase == GamePhase::Paused; }
    // A game is dealt and not over, running or paused: its clock counts.
    bool InPlay() const { return Running() || Paused(); }
};

} // namespace mirelo
