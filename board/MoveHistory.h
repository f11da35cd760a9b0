#pragma once

#include "BoardGrid.h"

#include <array>
#include <cstdint>

namespace mirelo {

// One removed tile and the place it was taken from.
struct MoveEntry {
    std::uint8_t Tile = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
};

// The tiles removed in the current game, in removal order. Entries below
// 144 - TilesLeft are valid; the rest are stale and never read, so a new deal
// does not need to clear them.
using MoveHistory = std::array<MoveEntry, TileCount>;

} // namespace mirelo
