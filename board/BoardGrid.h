#pragma once

#include <array>
#include <cstdint>

namespace mirelo {

inline constexpr int GridColumns = 34;
inline constexpr int GridRows = 20;
inline constexpr int GridLevels = 5;
inline constexpr int TileCount = 144;

// Cell value of a layout slot that the deal has not filled yet.
inline constexpr std::uint8_t WaitingSlot = 155;

// The board: 34 columns x 20 rows x 5 levels of bytes, 1-based. A cell holds 0
// (empty), the number of the tile anchored there, or WaitingSlot during a deal.
//
// The storage carries a border of empty cells (two columns on each side, one row
// above and below, one level below and one on top), so that the neighbour tests
// of the free-tile rule, which look at most two columns, one row and one level
// away from an anchor, read without a bounds check.
class BoardGrid {
public:
    static constexpr bool Inside(int x, int y, int z) {
        return x >= 1 && x <= GridColumns && y >= 1 && y <= GridRows && z >= 1 && z <= GridLevels;
    }

    // A cell outside the grid reads as empty.
    std::uint8_t At(int x, int y, int z) const {
        return Inside(x, y, z) ? cells_[Index(x, y, z)] : 0;
    }

    // Unchecked read for x in -1..36, y in 0..21, z in 0..6: the border is always empty.
    std::uint8_t Near(int x, int y, int z) const { return cells_[Index(x, y, z)]; }

    // Writes outside the grid are ignored, so the border stays empty.
    void Set(int x, int y, int z, std::uint8_t value) {
        if (Inside(x, y, z))
            cells_[Index(x, y, z)] = value;
    }

    void Clear() { cells_.fill(0); }

    friend bool operator==(const BoardGrid&, const BoardGrid&) = default;

private:
    static constexpr int StrideX = GridColumns + 4;
    static constexpr int StrideY = GridRows + 2;
    static constexpr int StoredLevels = GridLevels + 2;

    static constexpr int Index(int x, int y, int z) { return (z * StrideY + y) * StrideX + x + 1; }

    std::array<std::uint8_t, StrideX * StrideY * StoredLevels> cells_{};
};

// A tile's anchor, 1-based; (0, 0, 0) once the tile is off the board.
struct TilePlace {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;

    bool OnBoard() const { return X != 0; }
    friend bool operator==(const TilePlace&, const TilePlace&) = default;
};

// Indexed by tile number 1..144; entry 0 is never used.
using TilePlaces = std::array<TilePlace, TileCount + 1>;

} // namespace mirelo
