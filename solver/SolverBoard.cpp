#include "SolverBoard.h"

#include <algorithm>
#include <vector>

namespace mirelo {

bool SolverBoard::Load(const BoardGrid& grid, const TilePlaces& places) {
    *this = SolverBoard{};
    for (int t = 1; t <= TileCount; ++t) {
        const TilePlace& p = places[t];
        if (!p.OnBoard())
            continue;
        if (!BoardGrid::Inside(p.X, p.Y, p.Z) || grid.At(p.X, p.Y, p.Z) != t)
            return false;
        tiles_.Add(t - 1);
    }
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x) {
                const int v = grid.At(x, y, z);
                if (v >= 1 && v <= TileCount && !(places[v] == TilePlace{x, y, z}))
                    return false;
            }

    // Reads the cells the free-tile rule reads. Any other non-zero value in a
    // cell (a waiting slot) never leaves, so it blocks for good.
    const auto collect = [&grid](int x, int y, int z, TileSet& into, bool& stuck) {
        const int v = grid.Near(x, y, z);
        if (v >= 1 && v <= TileCount)
            into.Add(v - 1);
        else if (v != 0)
            stuck = true;
    };
    std::vector<int> order;
    std::array<bool, TileCount> leftStuck{}, rightStuck{};
    for (int i = 0; i < TileCount; ++i) {
        if (!tiles_.Has(i))
            continue;
        order.push_back(i);
        const TilePlace& p = places[i + 1];
        bool coveredForGood = false;
        for (int dy = -1; dy <= 1; ++dy) {
            collect(p.X - 2, p.Y + dy, p.Z, left_[i], leftStuck[i]);
            collect(p.X + 2, p.Y + dy, p.Z, right_[i], rightStuck[i]);
            for (int dx = -1; dx <= 1; ++dx)
                collect(p.X + dx, p.Y + dy, p.Z + 1, above_[i], coveredForGood);
        }
        if (coveredForGood || (leftStuck[i] && rightStuck[i]))
            neverFree_ = true;
    }

    for (int i : order)
        for (const TileSet* mask : {&left_[i], &right_[i], &above_[i]})
            for (int j : order)
                if (mask->Has(j))
                    dependents_[j][dependentCount_[j]++] = static_cast<std::uint8_t>(i);

    FindOrder(places, order, leftStuck, rightStuck);
    // The tile's own bit stands for a side blocked for good: the side then
    // never reads as open while the tile is there to be asked about.
    for (int i : order) {
        if (leftStuck[i])
            left_[i].Add(i);
        if (rightStuck[i])
            right_[i].Add(i);
    }
    for (int f = 0; f < TileCount / 4; ++f)
        pairable_[f] = static_cast<std::uint8_t>(PairableMatchings(f));
    return true;
}

void SolverBoard::FindOrder(const TilePlaces& places, const std::vector<int>& tiles,
                            const std::array<bool, TileCount>& leftStuck,
                            const std::array<bool, TileCount>& rightStuck) {
    std::vector<int> order = tiles;
    // Tiles above lie one level up, so a pass from the top level down sees every
    // tile's covers finished before the tile itself.
    std::stable_sort(order.begin(), order.end(),
                     [&places](int a, int b) { return places[a + 1].Z > places[b + 1].Z; });
    for (int i : order)
        for (int j : order)
            if (above_[i].Has(j)) {
                over_[i].Add(j);
                over_[i] |= over_[j];
            }
    for (int i : order)
        for (int j : order)
            if (over_[i].Has(j))
                under_[j].Add(i);

    // The tiles reached going left (right) from a tile from neighbour to side
    // neighbour on its level, and whether one of them is blocked on that side
    // for good. A tile whose right side stays blocked can only leave after all
    // the tiles to its left, and each of those after the tiles over it.
    std::array<TileSet, TileCount> toLeft{}, toRight{}, beforeIfLeft{}, beforeIfRight{};
    std::array<bool, TileCount> leftNever{}, rightNever{};
    std::stable_sort(order.begin(), order.end(),
                     [&places](int a, int b) { return places[a + 1].X < places[b + 1].X; });
    for (int i : order) {
        leftNever[i] = leftStuck[i];
        for (int j : order)
            if (left_[i].Has(j)) {
                toLeft[i].Add(j);
                toLeft[i] |= toLeft[j];
                leftNever[i] = leftNever[i] || leftNever[j];
            }
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const int i = *it;
        rightNever[i] = rightStuck[i];
        for (int j : order)
            if (right_[i].Has(j)) {
                toRight[i].Add(j);
                toRight[i] |= toRight[j];
                rightNever[i] = rightNever[i] || rightNever[j];
            }
    }
    for (int i : order) {
        beforeIfLeft[i] = toLeft[i];
        beforeIfRight[i] = toRight[i];
        for (int j : order) {
            if (toLeft[i].Has(j))
                beforeIfLeft[i] |= over_[j];
            if (toRight[i].Has(j))
                beforeIfRight[i] |= over_[j];
        }
        // The tile's own bit: that side can never open, so the tile cannot leave.
        if (leftNever[i])
            beforeIfLeft[i].Add(i);
        if (rightNever[i])
            beforeIfRight[i].Add(i);
    }

    // Two tiles of a pair in one row, b reached going right from a: every tile
    // between them stays while both do (it is hemmed in on both sides), so a
    // leaves through its left side and b through its right.
    for (int f = 0; f < TileCount / 4; ++f)
        for (unsigned pair = 0; pair < 16; ++pair) {
            if (CountBits(pair) != 2 || (tiles_.Face(f) & pair) != pair)
                continue;
            const int a = 4 * f + std::countr_zero(pair);
            const int b = 4 * f + 31 - std::countl_zero(pair);
            TileSet& before = before_[f][pair];
            before = over_[a];
            before |= over_[b];
            // Order the two so that b lies right of a, when they share a row.
            const bool swapped = toRight[b].Has(a);
            const int l = swapped ? b : a, r = swapped ? a : b;
            if (toRight[l].Has(r)) {
                before |= beforeIfLeft[l];
                before |= beforeIfRight[r];
                for (int w = 0; w < 3; ++w)
                    between_[f][pair].W[w] = toRight[l].W[w] & toLeft[r].W[w];
            }
        }
}

TileSet SolverBoard::FreeTiles(const TileSet& present) const {
    TileSet free;
    for (int w = 0; w < 3; ++w)
        for (std::uint64_t bits = present.W[w]; bits; bits &= bits - 1) {
            const int i = w * 64 + std::countr_zero(bits);
            if (IsFree(present, i))
                free.Add(i);
        }
    return free;
}

unsigned SolverBoard::PairableMatchings(int face) const {
    if (CountBits(tiles_.Face(face)) != 4)
        return 0;
    unsigned mask = 0;
    for (int m = 0; m < 3; ++m) {
        const auto [first, second] = MatchingPairs(m);
        if (!PairBlocked(face, first) && !PairBlocked(face, second) &&
            !Deadlocked(face, first, face, second))
            mask |= 1u << m;
    }
    return mask;
}

bool SolverBoard::ProvablyHopeless(bool byOrder) const {
    // Each removal takes two tiles of one face, so every face needs an even count.
    for (int f = 0; f < TileCount / 4; ++f)
        if (CountBits(tiles_.Face(f)) % 2 != 0)
            return true;
    if (neverFree_)
        return true;
    if (!byOrder)
        return false;
    for (int f = 0; f < TileCount / 4; ++f) {
        const unsigned here = tiles_.Face(f);
        if (CountBits(here) == 4 && pairable_[f] == 0)
            return true;
        if (CountBits(here) != 2)
            continue;
        if (PairBlocked(f, here))
            return true;
        for (int g = 0; g < f; ++g)
            if (CountBits(tiles_.Face(g)) == 2 && Deadlocked(f, here, g, tiles_.Face(g)))
                return true;
    }
    return false;
}

} // namespace mirelo
