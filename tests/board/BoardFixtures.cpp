#include "BoardFixtures.h"

#include "LayoutTemplate.h"
#include "Tiles.h"

#include <algorithm>
#include <sstream>

namespace mirelo::test {

namespace {
int Pack(int x, int y, int z) {
    return (z * 100 + y) * 100 + x;
}
} // namespace

void RecordingView::RedrawTile(std::uint8_t tile) {
    const TilePlace& place = game_.Places[tile];
    if (!place.OnBoard())
        OrderBroken = true;
    Events.push_back("tile " + std::to_string(tile));
    // A removal redraws the tile after its cell is cleared; otherwise the tile
    // must still be where its place says.
    if (place.OnBoard() && game_.Grid.At(place.X, place.Y, place.Z) != tile)
        Events.back() += " gone";
}

std::string CheckInvariants(const Game& game, bool withHistory) {
    std::ostringstream err;
    int onBoard = 0;
    for (int t = 1; t <= TileCount; ++t) {
        const TilePlace& p = game.Places[t];
        if (!p.OnBoard())
            continue;
        ++onBoard;
        if (game.Grid.At(p.X, p.Y, p.Z) != t)
            err << "tile " << t << " not in the grid at its place; ";
    }
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x) {
                const int v = game.Grid.At(x, y, z);
                if (v == 0)
                    continue;
                if (v > TileCount)
                    err << "cell value " << v << "; ";
                else if (!(game.Places[v] == TilePlace{x, y, z}))
                    err << "cell holds " << v << " but its place differs; ";
            }
    if (onBoard != game.State.TilesLeft)
        err << "TilesLeft " << int(game.State.TilesLeft) << " but " << onBoard << " on board; ";

    std::vector<bool> seen(TileCount + 1, false);
    for (int i = 0; withHistory && i < TileCount - game.State.TilesLeft; ++i) {
        const int t = game.History[i].Tile;
        if (t < 1 || t > TileCount || seen[t] || game.Places[t].OnBoard())
            err << "history entry " << i << " holds " << t << "; ";
        else
            seen[t] = true;
    }
    const auto& s = game.State;
    if (s.SecondPick != 0)
        err << "SecondPick set between clicks; ";
    if (s.FirstPick != 0 && !game.IsFree(s.FirstPick))
        err << "FirstPick " << int(s.FirstPick) << " is not a free tile on the board; ";
    return err.str();
}

std::vector<int> LayoutSlots(int layout) {
    std::vector<int> slots;
    const LayoutTemplate& t = Template(layout);
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x)
                if (t.At(x, y, z))
                    slots.push_back(Pack(x, y, z));
    return slots;
}

std::vector<int> OccupiedCells(const Game& game) {
    std::vector<int> cells;
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x)
                if (game.Grid.At(x, y, z))
                    cells.push_back(Pack(x, y, z));
    return cells;
}

Counts CountByBruteForce(const Game& game) {
    // Straight from the rule's wording, with explicit bounds, independent of the
    // padded grid the game uses.
    auto occupied = [&](int x, int y, int z) {
        return x >= 1 && x <= GridColumns && y >= 1 && y <= GridRows && z >= 1 && z <= GridLevels &&
               game.Grid.At(x, y, z) != 0;
    };
    Counts c;
    std::vector<int> freeTiles;
    for (int t = 1; t <= TileCount; ++t) {
        const TilePlace& p = game.Places[t];
        if (!p.OnBoard())
            continue;
        bool left = true, right = true, covered = false;
        for (int dy = -1; dy <= 1; ++dy) {
            left = left && !occupied(p.X - 2, p.Y + dy, p.Z);
            right = right && !occupied(p.X + 2, p.Y + dy, p.Z);
            for (int dx = -1; dx <= 1; ++dx)
                covered = covered || occupied(p.X + dx, p.Y + dy, p.Z + 1);
        }
        if ((left || right) && !covered)
            freeTiles.push_back(t);
    }
    c.Free = static_cast<int>(freeTiles.size());
    for (int face = 0; face < 36; ++face) {
        const auto k = std::count_if(freeTiles.begin(), freeTiles.end(),
                                     [&](int t) { return TileFace(t) == face; });
        if (k > 1)
            c.Moves += static_cast<int>(k) - 1;
    }
    return c;
}

Game EmptyPlayingGame() {
    Game game;
    game.ClearBoard();
    game.State = GameState{};
    game.State.Phase = GamePhase::Running;
    game.State.TilesLeft = 0;
    return game;
}

bool FindMatchingFreePair(const Game& game, std::uint8_t& a, std::uint8_t& b) {
    for (int i = 1; i <= TileCount; ++i) {
        if (!game.IsFree(i))
            continue;
        for (int j = i + 1; j <= TileCount; ++j)
            if (TileFace(i) == TileFace(j) && game.IsFree(j)) {
                a = static_cast<std::uint8_t>(i);
                b = static_cast<std::uint8_t>(j);
                return true;
            }
    }
    return false;
}

} // namespace mirelo::test
