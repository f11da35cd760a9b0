#include "SolverSearch.h"

#include <algorithm>
#include <bit>
#include <tuple>

namespace mirelo {
namespace {

constexpr int FaceCount = TileCount / 4;

int CountOnBoard(const TileSet& tiles, const TileSet& present) {
    return CountBits(tiles.W[0] & present.W[0]) + CountBits(tiles.W[1] & present.W[1]) +
           CountBits(tiles.W[2] & present.W[2]);
}

} // namespace

// The matchings still allowed for the face that have a pair free now.
unsigned SolverSearch::Ready(const SolverPosition& p, int face) {
    const unsigned free = p.Free.Face(face);
    unsigned ready = 0;
    for (int m = 0; m < 3; ++m) {
        if (!((p.Allowed(face) >> m) & 1u))
            continue;
        const auto [first, second] = MatchingPairs(m);
        if ((free & first) == first || (free & second) == second)
            ready |= 1u << m;
    }
    return ready;
}

// How many tiles come free when the free pairs of matching m are taken.
int SolverSearch::Gain(const SolverPosition& p, int face, int m) const {
    SolverPosition child = p;
    const unsigned free = p.Free.Face(face);
    const auto [first, second] = MatchingPairs(m);
    int taken = 0;
    for (unsigned pair : {first, second})
        if ((free & pair) == pair) {
            for (unsigned bits = pair; bits; bits &= bits - 1)
                Remove(child, 4 * face + std::countr_zero(bits));
            taken += 2;
        }
    return child.Free.Count() - (p.Free.Count() - taken);
}

// How many tiles must leave before the pairs of matching m that stay behind.
int SolverSearch::Cost(const SolverPosition& p, int face, int m) const {
    const unsigned free = p.Free.Face(face);
    const auto [first, second] = MatchingPairs(m);
    int cost = 0;
    for (unsigned pair : {first, second})
        if ((free & pair) != pair)
            cost += CountOnBoard(board_.Before(face, pair), p.Present);
    return cost;
}

int SolverSearch::Branches(const SolverPosition& p, std::array<Branch, 4>& out) const {
    // The face whose choices failed most often for each matching it has left
    // (so that a conflict found once is met again near the top of the search),
    // then a face with a free pair, the one that leaves least behind its pairs,
    // the one whose pair frees the most tiles.
    int bestFace = -1, bestCost = 0, bestGain = 0;
    double bestConflicts = 0;
    bool bestReady = false;
    for (int f = 0; f < FaceCount; ++f) {
        const unsigned allowed = p.Allowed(f);
        if (CountBits(p.Present.Face(f)) != 4 || CountBits(allowed) < 2)
            continue;
        const unsigned ready = Ready(p, f);
        if (!techniques_.Ordering) {
            if (bestFace < 0 || (ready && !bestReady)) {
                bestFace = f;
                bestReady = ready != 0;
            }
            continue;
        }
        const double conflicts = conflicts_[f] / static_cast<double>(CountBits(allowed));
        int cost = TileCount, gain = 0;
        for (int m = 0; m < 3; ++m)
            if (((ready ? ready : allowed) >> m) & 1u) {
                cost = std::min(cost, Cost(p, f, m));
                gain = std::max(gain, Gain(p, f, m));
            }
        const bool isReady = ready != 0;
        const auto key = std::tuple(conflicts, isReady, -cost, gain);
        if (bestFace < 0 || key > std::tuple(bestConflicts, bestReady, -bestCost, bestGain)) {
            bestFace = f;
            bestConflicts = conflicts;
            bestReady = isReady;
            bestCost = cost;
            bestGain = gain;
        }
    }
    if (bestFace < 0)
        return 0;

    const unsigned allowed = p.Allowed(bestFace);
    const unsigned ready = bestReady ? Ready(p, bestFace) : allowed;
    int n = 0;
    for (int m = 0; m < 3; ++m)
        if ((ready >> m) & 1u) {
            const int score =
                techniques_.Ordering ? Gain(p, bestFace, m) - 8 * Cost(p, bestFace, m) : 0;
            out[n++] = {static_cast<std::uint8_t>(bestFace), static_cast<std::uint8_t>(1u << m),
                        static_cast<std::int16_t>(score)};
        }
    std::stable_sort(out.begin(), out.begin() + n,
                     [](const Branch& x, const Branch& y) { return x.Score > y.Score; });
    // Waiting for other partners comes last: it takes nothing now.
    if (ready != allowed)
        out[n++] = {static_cast<std::uint8_t>(bestFace),
                    static_cast<std::uint8_t>(allowed & ~ready), 0};
    return n;
}

} // namespace mirelo
