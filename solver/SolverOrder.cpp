#include "SolverOrder.h"

namespace mirelo {
namespace {

template <typename F> void ForEachTile(const TileSet& tiles, F&& f) {
    for (int w = 0; w < 3; ++w)
        for (std::uint64_t bits = tiles.W[w]; bits; bits &= bits - 1)
            f(w * 64 + std::countr_zero(bits));
}

TileSet Both(int u, int v) {
    TileSet s;
    s.Add(u);
    s.Add(v);
    return s;
}

} // namespace

void SolverOrder::Start(const SolverBoard& board, const TileSet& present) {
    partner_.fill(NoPartner);
    ForEachTile(present, [&](int i) { after_[i] = board.Under(i); });
}

TileSet SolverOrder::WithPartners(const TileSet& tiles) const {
    TileSet all = tiles;
    ForEachTile(tiles, [&](int i) {
        if (partner_[i] != NoPartner)
            all.Add(partner_[i]);
    });
    return all;
}

bool SolverOrder::Join(const TileSet& present, int u, int v) {
    if (after_[u].Has(v) || after_[v].Has(u))
        return false;
    TileSet later = after_[u];
    later |= after_[v];
    const TileSet pair = Both(u, v);
    TileSet withPair = later;
    withPair |= pair;
    bool ok = true;
    ForEachTile(present, [&](int w) {
        if (w == u || w == v) {
            after_[w] = later;
        } else if (after_[w].Meets(pair)) {
            // Before one of the two is before both, and before all that follows either.
            if (later.Has(w))
                ok = false;
            after_[w] |= withPair;
        }
    });
    partner_[u] = static_cast<std::uint8_t>(v);
    partner_[v] = static_cast<std::uint8_t>(u);
    return ok;
}

bool SolverOrder::Precede(const TileSet& present, TileSet first, TileSet then) {
    for (int w = 0; w < 3; ++w) {
        first.W[w] &= present.W[w];
        then.W[w] &= present.W[w];
    }
    first = WithPartners(first);
    then = WithPartners(then);
    TileSet later = then;
    ForEachTile(then, [&](int t) { later |= after_[t]; });
    if (later.Meets(first))
        return false;
    bool ok = true;
    ForEachTile(present, [&](int w) {
        if (first.Has(w) || after_[w].Meets(first)) {
            if (later.Has(w))
                ok = false;
            after_[w] |= later;
        }
    });
    return ok;
}

} // namespace mirelo
