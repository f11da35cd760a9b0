#pragma once

#include "SolverBoard.h"

#include <array>
#include <cstdint>

namespace mirelo {

// The looser game: a tile may leave on its own once it is free and one of the
// partners its face may still give it is free or gone. Every clearing of the
// real board clears the looser game, and in the looser game taking a tile never
// hurts, so taking whatever can go until nothing can decides it exactly: when
// tiles stay, the real board cannot be cleared either.
struct LooseState {
    TileSet Present;
    TileSet Free;
    TileSet Todo; // tiles to look at again
};

// What a play of the looser game did, so that a play under a narrower rule
// can start from the last point where both plays agree.
struct LooseTrace {
    static constexpr int Every = 16;

    std::array<std::uint8_t, TileCount> Available{}; // partners at hand as each tile left
    std::array<std::uint8_t, TileCount> Step{};      // when each tile left
    std::array<LooseState, TileCount / Every + 1> Checkpoints{};
    int Steps = 0;
};

// The looser game from the start of position `rules`.
LooseState LooseStart(const SolverPosition& rules);

// Plays the looser game from `state` under the faces and matchings of `rules`;
// true when every tile leaves. `trace` may be null.
bool PlayLoose(const SolverBoard& board, const SolverPosition& rules, LooseState state,
               LooseTrace* trace);

} // namespace mirelo
