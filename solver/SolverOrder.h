#pragma once

#include "SolverBoard.h"

#include <array>
#include <cstdint>

namespace mirelo {

// Which tiles must leave after which, as far as the piles, the rows and the
// pairs decided so far tell: a tile leaves after every tile that lies on it;
// two tiles of a decided pair leave together; a decided pair in one row leaves
// after the tiles beyond its ends and before the tiles between them.
//
// Kept closed under "after" at all times, so a circle shows at once: then no
// order of removals can clear the board with the pairs decided. Only tiles
// still on the board are ever asked about; a tile that has left had every tile
// before it leave first, so no stale link joins two tiles still there.
class SolverOrder {
public:
    // The piles alone.
    void Start(const SolverBoard& board, const TileSet& present);

    // Tiles u and v leave together. False when one must leave before the other.
    bool Join(const TileSet& present, int u, int v);

    // Every tile of `first` leaves before every tile of `then`. False when that
    // closes a circle.
    bool Precede(const TileSet& present, TileSet first, TileSet then);

    bool Joined(int i) const { return partner_[i] != NoPartner; }

    // The tiles that must leave strictly after tile i.
    const TileSet& After(int i) const { return after_[i]; }

private:
    static constexpr std::uint8_t NoPartner = 0xFF;

    TileSet WithPartners(const TileSet& tiles) const;

    std::array<TileSet, TileCount> after_{};
    std::array<std::uint8_t, TileCount> partner_{};
};

} // namespace mirelo
