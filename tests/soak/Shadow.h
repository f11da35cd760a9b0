#pragma once

#include <array>
#include <cstdint>

namespace mirelo::soak {

// A tile's anchor as the soak keeps it; (0, 0, 0) off the board.
struct Anchor {
    int X = 0;
    int Y = 0;
    int Z = 0;

    bool On() const { return X != 0; }
    friend bool operator==(const Anchor&, const Anchor&) = default;
};

constexpr int FaceOf(int tile) {
    return (tile - 1) >> 2;
}

// What the footprints say about the board as it stands.
struct Footprints {
    std::array<bool, 145> Free{};
    std::array<std::uint8_t, 144> FreeTiles{}; // ascending
    int FreeCount = 0;
    int Moves = 0;
    // The possible moves in hint order: two free tiles of one face with no
    // free tile of that face between them, by ascending first tile.
    std::array<std::array<std::uint8_t, 2>, 144> Pairs{};
    int PairCount = 0;
    bool Overlap = false; // two tiles share a cell on one level
};

// The soak's own picture of the board, kept apart from the code under test.
// It thinks in footprints: a tile anchored at (X, Y, Z) covers columns X, X+1
// and rows Y, Y+1 of level Z. A tile is free when nothing covers any of its
// four cells one level up, and the two cells beside its left edge or the two
// beside its right edge are uncovered. The rules code asks the same question
// of neighbouring anchors; two formulations agreeing is the point.
class Shadow {
public:
    static constexpr int Columns = 34;
    static constexpr int Rows = 20;
    static constexpr int Levels = 5;

    void Clear();
    // False when the cell is taken or lies outside the grid.
    bool Put(int tile, Anchor at);
    void Take(int tile);

    Anchor Place(int tile) const { return places_[tile]; }
    // The anchor cell's tile, 0 for an empty cell or one outside the grid.
    int CellAt(int x, int y, int z) const { return Inside(x, y, z) ? cells_[z][y][x] : 0; }
    int TilesOn() const { return tilesOn_; }

    // Recomputed when the board changed since the last look.
    const Footprints& Look();

private:
    static constexpr bool Inside(int x, int y, int z) {
        return x >= 1 && x <= Columns && y >= 1 && y <= Rows && z >= 1 && z <= Levels;
    }

    // Footprint cover, flat, with room for the cells beside and above every
    // tile; cleared by unpainting what the last look painted.
    static constexpr int CoverRow = Columns + 3;
    static constexpr int CoverLevel = CoverRow * (Rows + 2);
    static constexpr int CoverIndex(const Anchor& a) {
        return a.Z * CoverLevel + a.Y * CoverRow + a.X;
    }

    std::array<Anchor, 145> places_{};
    std::array<std::array<std::array<std::uint8_t, Columns + 1>, Rows + 1>, Levels + 1> cells_{};
    std::array<std::uint8_t, CoverLevel*(Levels + 2)> cover_{};
    std::array<int, 144> painted_{};
    int paintedCount_ = 0;
    int tilesOn_ = 0;
    bool stale_ = true;
    Footprints facts_;
};

} // namespace mirelo::soak
