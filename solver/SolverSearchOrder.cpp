#include "SolverSearch.h"

#include <bit>

namespace mirelo {
namespace {

constexpr int FaceCount = TileCount / 4;

TileSet Pair(int face, unsigned pair) {
    TileSet s;
    s.W[face / TileSet::FacesPerWord] = std::uint64_t{pair} << (face % TileSet::FacesPerWord * 4);
    return s;
}

TileSet OnBoard(const TileSet& tiles, const TileSet& present) {
    TileSet s;
    for (int w = 0; w < 3; ++w)
        s.W[w] = tiles.W[w] & present.W[w];
    return s;
}

} // namespace

// Records a decided pair in the order. Safe: the pair leaves at one time in
// every clearing that keeps the decisions, and the tiles before and between
// its two tiles are bound to it as long as both are on the board.
bool SolverSearch::Decide(const SolverPosition& p, SolverOrder& order, int face,
                          unsigned pair) const {
    const int a = 4 * face + std::countr_zero(pair);
    const int b = 4 * face + 31 - std::countl_zero(pair);
    const TileSet both = Pair(face, pair);
    return order.Join(p.Present, a, b) &&
           order.Precede(p.Present, board_.Before(face, pair), both) &&
           order.Precede(p.Present, both, board_.Between(face, pair));
}

// Whether the pair could still leave together as far as the order tells: no
// tile that must leave before it is also bound to leave after it.
bool SolverSearch::PairFits(const SolverPosition& p, const SolverOrder& order, int face,
                            unsigned pair) const {
    const int a = 4 * face + std::countr_zero(pair);
    const int b = 4 * face + 31 - std::countl_zero(pair);
    if (order.After(a).Has(b) || order.After(b).Has(a))
        return false;
    TileSet later = order.After(a);
    later |= order.After(b);
    later |= Pair(face, pair);
    const TileSet before = OnBoard(board_.Before(face, pair), p.Present);
    if (later.Meets(before))
        return false;
    TileSet beforeOrPair = before;
    beforeOrPair |= Pair(face, pair);
    const TileSet between = OnBoard(board_.Between(face, pair), p.Present);
    for (int w = 0; w < 3; ++w)
        for (std::uint64_t bits = between.W[w]; bits; bits &= bits - 1)
            if (order.After(w * 64 + std::countr_zero(bits)).Meets(beforeOrPair))
                return false;
    return true;
}

bool SolverSearch::MatchingFits(const SolverPosition& p, const SolverOrder& order, int face,
                                int m) const {
    const auto [first, second] = MatchingPairs(m);
    if (!PairFits(p, order, face, first) || !PairFits(p, order, face, second))
        return false;
    // The two pairs of the face must not each have to leave before the other.
    const auto precedes = [&](unsigned x, unsigned y) {
        const int a = 4 * face + std::countr_zero(x);
        const int b = 4 * face + 31 - std::countl_zero(x);
        TileSet later = order.After(a);
        later |= order.After(b);
        later |= OnBoard(board_.Between(face, x), p.Present);
        if (later.Meets(Pair(face, y)))
            return true;
        later |= Pair(face, x);
        return later.Meets(OnBoard(board_.Before(face, y), p.Present));
    };
    return !(precedes(first, second) && precedes(second, first));
}

bool SolverSearch::Propagate(SolverPosition& p, SolverOrder& order, bool& decidedMore) const {
    decidedMore = false;
    for (bool again = true; again;) {
        again = false;
        for (int f = 0; f < FaceCount; ++f) {
            const unsigned here = p.Present.Face(f);
            const int left = CountBits(here);
            if (left == 2) {
                if (!order.Joined(4 * f + std::countr_zero(here)) && !Decide(p, order, f, here))
                    return false;
                continue;
            }
            if (left != 4)
                continue;
            const unsigned allowed = p.Allowed(f);
            if (CountBits(allowed) == 1) {
                const auto [first, second] = MatchingPairs(std::countr_zero(allowed));
                if (!order.Joined(4 * f + std::countr_zero(first)) &&
                    (!Decide(p, order, f, first) || !Decide(p, order, f, second)))
                    return false;
                continue;
            }
            // Safe: the order holds in every clearing that keeps the decisions,
            // so a matching that cannot fit it belongs to no clearing.
            unsigned keep = allowed;
            for (int m = 0; m < 3; ++m)
                if (((allowed >> m) & 1u) && !MatchingFits(p, order, f, m))
                    keep &= ~(1u << m);
            if (keep == 0)
                return false;
            if (keep != allowed) {
                p.SetAllowed(f, keep);
                if (CountBits(keep) == 1)
                    again = decidedMore = true;
            }
        }
    }
    return true;
}

} // namespace mirelo
