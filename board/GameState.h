#pragma once

#include <array>
#include <cstdint>

namespace mirelo {

// The one game's counters and flags.
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
    bool GameOver = true;
    bool GameWon = false;
    bool WinAnnounced = false;
    bool Paused = false;

    std::int32_t TotalSeconds() const { return ElapsedSeconds + PenaltySeconds; }
};

} // namespace mirelo
