#include "SolverBoard.h"

#include <algorithm>
#include <vector>

namespace mirelo {
namespace {

} // namespace

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
    for (int i = 0; i < TileCount; ++i) {
        if (!tiles_.Has(i))
            continue;
        order.push_back(i);
        const TilePlace& p = places[i + 1];
        bool leftStuck = false, rightStuck = false, coveredForGood = false;
        for (int dy = -1; dy <= 1; ++dy) {
            collect(p.X - 2, p.Y + dy, p.Z, left_[i], leftStuck);
            collect(p.X + 2, p.Y + dy, p.Z, right_[i], rightStuck);
            for (int dx = -1; dx <= 1; ++dx)
                collect(p.X + dx, p.Y + dy, p.Z + 1, above_[i], coveredForGood);
        }
        // The tile's own bit stands for a side blocked for good: the side then
        // never reads as open while the tile is there to be asked about.
        if (leftStuck)
            left_[i].Add(i);
        if (rightStuck)
            right_[i].Add(i);
        if (coveredForGood || (leftStuck && rightStuck))
            neverFree_ = true;
    }

    for (int i : order)
        for (const TileSet* mask : {&left_[i], &right_[i], &above_[i]})
            for (int j : order)
                if (j != i && mask->Has(j))
                    dependents_[j][dependentCount_[j]++] = static_cast<std::uint8_t>(i);

    // Tiles above lie one level up, so a pass from the top level down sees every
    // tile's covers finished before the tile itself.
    std::stable_sort(order.begin(), order.end(),
                     [&places](int a, int b) { return places[a + 1].Z > places[b + 1].Z; });
    for (int i : order)
        for (int j : order)
            if (above_[i].Has(j)) {
                over_[i].Add(j);
                for (int w = 0; w < 3; ++w)
                    over_[i].W[w] |= over_[j].W[w];
            }

    for (int f = 0; f < TileCount / 4; ++f)
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) {
                const int ta = 4 * f + a, tb = 4 * f + b;
                if (tiles_.Has(ta) && tiles_.Has(tb) && (over_[ta].Has(tb) || over_[tb].Has(ta)))
                    comparable_[f] |= static_cast<std::uint16_t>(1u << ((1u << a) | (1u << b)));
            }
    for (int f = 0; f < TileCount / 4; ++f)
        pairable_[f] = static_cast<std::uint8_t>(PairableMatchings(f));
    return true;
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
    if (std::popcount(tiles_.Face(face)) != 4)
        return 0;
    // `first` must leave before `second` when a tile of `first` lies over one of `second`.
    const auto mustPrecede = [&](unsigned first, unsigned second) {
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 4; ++y)
                if (((second >> x) & 1u) && ((first >> y) & 1u) && over_[4 * face + x].Has(4 * face + y))
                    return true;
        return false;
    };
    unsigned mask = 0;
    for (int m = 0; m < 3; ++m) {
        const auto [first, second] = MatchingPairs(m);
        // Two tiles on one pile can never both be free; two pairs that must each
        // go before the other can never go at all.
        if (!Comparable(face, first) && !Comparable(face, second) &&
            !(mustPrecede(first, second) && mustPrecede(second, first)))
            mask |= 1u << m;
    }
    return mask;
}

bool SolverBoard::ProvablyHopeless(bool byStacking) const {
    // Each removal takes two tiles of one face, so every face needs an even count.
    for (int f = 0; f < TileCount / 4; ++f)
        if (std::popcount(tiles_.Face(f)) % 2 != 0)
            return true;
    if (neverFree_)
        return true;
    if (byStacking)
        for (int f = 0; f < TileCount / 4; ++f) {
            const unsigned here = tiles_.Face(f);
            if (std::popcount(here) == 2 ? Comparable(f, here)
                                         : std::popcount(here) == 4 && pairable_[f] == 0)
                return true;
        }
    return false;
}

} // namespace mirelo
