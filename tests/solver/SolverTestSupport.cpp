#include "SolverTestSupport.h"

#include "Tiles.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace mirelo::test {
namespace {

class SilentView final : public BoardView {
public:
    void SonOK(std::uint8_t) override {}
    void SonBip() override { ++Refusals; }
    void RedrawTile(std::uint8_t) override {}
    void PairRemovedSound() override {}
    void FullRedraw() override {}

    int Refusals = 0;
};

} // namespace

void SmallBoard::Put(int tile, int x, int y, int z) {
    Grid.Set(x, y, z, static_cast<std::uint8_t>(tile));
    Places[tile] = {x, y, z};
    ++Tiles;
}

bool ClearableByBruteForce(const SmallBoard& board) {
    std::vector<int> tiles;
    for (int t = 1; t <= TileCount; ++t)
        if (board.Places[t].OnBoard())
            tiles.push_back(t);
    const int n = static_cast<int>(tiles.size());
    BoardGrid grid = board.Grid;
    // 0 unknown, 1 clearable, 2 not; indexed by the set of tiles still on the board.
    std::vector<std::uint8_t> known(std::size_t{1} << n, 0);
    std::function<bool(std::uint32_t)> clearable = [&](std::uint32_t left) {
        if (left == 0)
            return true;
        if (known[left])
            return known[left] == 1;
        bool found = false;
        for (int i = 0; i < n && !found; ++i)
            for (int j = i + 1; j < n && !found; ++j) {
                if (!((left >> i) & 1u) || !((left >> j) & 1u) ||
                    TileFace(tiles[i]) != TileFace(tiles[j]))
                    continue;
                const TilePlace& a = board.Places[tiles[i]];
                const TilePlace& b = board.Places[tiles[j]];
                if (!IsTileFree(grid, a) || !IsTileFree(grid, b))
                    continue;
                grid.Set(a.X, a.Y, a.Z, 0);
                grid.Set(b.X, b.Y, b.Z, 0);
                found = clearable(left & ~(1u << i) & ~(1u << j));
                grid.Set(a.X, a.Y, a.Z, static_cast<std::uint8_t>(tiles[i]));
                grid.Set(b.X, b.Y, b.Z, static_cast<std::uint8_t>(tiles[j]));
            }
        known[left] = found ? 1 : 2;
        return found;
    };
    return clearable((std::uint32_t{1} << n) - 1);
}

SmallBoard RandomSmallBoard(RandomGenerator& dice, int tiles) {
    SmallBoard board;
    // Few faces, so that most faces have four tiles and their pairing matters.
    const int faceCount = 1 + static_cast<int>(dice.Random(static_cast<std::uint32_t>(tiles / 2)));
    std::vector<int> faces;
    for (int k = 0; k < faceCount; ++k)
        faces.push_back(static_cast<int>(dice.Random(36)));
    std::array<int, 36> used{};
    std::vector<int> numbers;
    while (static_cast<int>(numbers.size()) < tiles) {
        const int f = faces[dice.Random(static_cast<std::uint32_t>(faces.size()))];
        if (used[f] == 4) {
            faces.push_back(static_cast<int>(dice.Random(36)));
            continue;
        }
        numbers.push_back(4 * f + used[f]++ + 1);
        numbers.push_back(4 * f + used[f]++ + 1);
    }
    // On the raster of whole tiles, or anywhere on the patch; larger boards
    // get a wider patch.
    const bool raster = dice.Random(2) == 0;
    const int width = 3 + static_cast<int>(dice.Random(4)) + tiles / 8;
    for (int t : numbers) {
        int x = 0, y = 0, z = 0;
        do {
            if (raster) {
                x = 3 + 2 * static_cast<int>(dice.Random(static_cast<std::uint32_t>(width)));
                y = 3 + 2 * static_cast<int>(dice.Random(3));
            } else {
                x = 3 + static_cast<int>(dice.Random(static_cast<std::uint32_t>(2 * width)));
                y = 3 + static_cast<int>(dice.Random(5));
            }
            z = 1 + static_cast<int>(dice.Random(3));
        } while (board.Grid.At(x, y, z) != 0);
        board.Put(t, x, y, z);
    }
    if (dice.Random(5) == 0) {
        int x = 0, y = 0, z = 0;
        do {
            x = 1 + static_cast<int>(dice.Random(static_cast<std::uint32_t>(2 * width + 4)));
            y = 2 + static_cast<int>(dice.Random(7));
            z = 1 + static_cast<int>(dice.Random(4));
        } while (board.Grid.At(x, y, z) != 0);
        board.Grid.Set(x, y, z, WaitingSlot);
    }
    return board;
}

std::string ReplayClears(const BoardGrid& grid, const TilePlaces& places, int tiles,
                         const std::vector<std::pair<std::uint8_t, std::uint8_t>>& pairs) {
    Game game;
    game.Grid = grid;
    game.Places = places;
    game.State.TilesLeft = static_cast<std::uint8_t>(tiles);
    game.State.Phase = GamePhase::Running;
    SilentView view;
    for (const auto& [a, b] : pairs) {
        const int before = game.State.TilesLeft;
        game.Pick(a, view);
        game.Pick(b, view);
        if (view.Refusals != 0 || game.State.TilesLeft != before - 2)
            return "pair " + std::to_string(a) + "," + std::to_string(b) + " refused";
    }
    if (game.State.TilesLeft != 0)
        return std::to_string(game.State.TilesLeft) + " tiles left after the last pair";
    for (int t = 1; t <= TileCount; ++t)
        if (game.Places[t].OnBoard())
            return "tile " + std::to_string(t) + " still on the board";
    return "";
}

} // namespace mirelo::test
