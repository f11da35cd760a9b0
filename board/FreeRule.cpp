#include "Game.h"
#include "Tiles.h"

namespace mirelo {

bool IsTileFree(const BoardGrid& grid, const TilePlace& place) {
    const int x = place.X, y = place.Y, z = place.Z;
    if (!BoardGrid::Inside(x, y, z))
        return false;
    // A neighbour anchored two columns away, in the same row or half a tile up or
    // down, touches that side.
    const bool leftOpen =
        !grid.Near(x - 2, y - 1, z) && !grid.Near(x - 2, y, z) && !grid.Near(x - 2, y + 1, z);
    const bool rightOpen =
        !grid.Near(x + 2, y - 1, z) && !grid.Near(x + 2, y, z) && !grid.Near(x + 2, y + 1, z);
    if (!leftOpen && !rightOpen)
        return false;
    // Any anchor one level up within one column and one row overlaps the tile.
    // Above level 5 the grid's border is empty, so the top level needs no case.
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (grid.Near(x + dx, y + dy, z + 1))
                return false;
    return true;
}

bool Game::IsFree(int tile) const {
    if (tile < 1 || tile > TileCount || !Places[tile].OnBoard())
        return false;
    return IsTileFree(Grid, Places[tile]);
}

void Game::IsItFree() {
    int freeCount = 0;
    int moves = 0;
    int previousFace = -1;
    for (int tile = 1; tile <= TileCount; ++tile) {
        if (!Places[tile].OnBoard() || !IsTileFree(Grid, Places[tile]))
            continue;
        State.FreeList[freeCount++] = static_cast<std::uint8_t>(tile);
        // The list is ascending, so a face's free tiles stand together and a face
        // with k free tiles adds k - 1 moves.
        const int face = TileFace(tile);
        if (face == previousFace)
            ++moves;
        previousFace = face;
    }
    State.FreeCount = static_cast<std::uint8_t>(freeCount);
    State.MovesLeft = static_cast<std::uint8_t>(moves);
}

bool Game::Hint() {
    if (!State.Running() || State.MovesLeft == 0)
        return false;
    State.HintFirst = 0;
    State.HintSecond = 0;
    IsItFree();
    if (State.FreeCount < 2 || State.MovesLeft == 0)
        return false;
    State.HintIndex = static_cast<std::uint8_t>(State.HintIndex % State.MovesLeft + 1);
    int count = 0;
    for (int i = 0; i + 1 < State.FreeCount; ++i) {
        if (TileFace(State.FreeList[i]) != TileFace(State.FreeList[i + 1]))
            continue;
        if (++count == State.HintIndex) {
            State.HintFirst = State.FreeList[i];
            State.HintSecond = State.FreeList[i + 1];
            break;
        }
    }
    State.PenaltySeconds += HintPenaltySeconds;
    return true;
}

} // namespace mirelo
