#pragma once

#include "BoardGrid.h"

#include <array>
#include <cstdint>

namespace mirelo {

inline constexpr int LayoutTraditional = 1;
inline constexpr int LayoutDragon = 2;
inline constexpr int LayoutBigHole = 3;
inline constexpr int LayoutTheater = 4;
inline constexpr int LayoutBeatle = 5;
inline constexpr int LayoutCount = 5;

inline constexpr int LevelBytes = GridColumns * GridRows; // 680

// A board shape: 5 levels x 680 bytes, level 1 first, row after row; 1 where a
// tile's anchor goes, 0 elsewhere. Every template holds exactly 144 ones.
struct LayoutTemplate {
    std::array<std::uint8_t, GridLevels * LevelBytes> Bytes{};

    std::uint8_t At(int x, int y, int z) const {
        return Bytes[(z - 1) * LevelBytes + (y - 1) * GridColumns + (x - 1)];
    }
};

// Layout 1..5 (Traditional, Dragon, Big Hole, Theater, Beatle).
const LayoutTemplate& Template(int layout);

} // namespace mirelo
