#include "SolverSearch.h"

#include "SolverLoose.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace mirelo {
namespace {

constexpr int FaceCount = TileCount / 4;

// Each branch narrows one face's matchings by at least one of its three, so
// the search never goes deeper than two steps a face.
constexpr int MaxDepth = 2 * FaceCount + 2;

std::size_t MemoSlotsFor(std::uint64_t maxPositions) {
    // Room for every position the budget allows, but never more than 4M slots (160 MB).
    constexpr std::uint64_t cap = std::uint64_t{1} << 22;
    return static_cast<std::size_t>(maxPositions >= cap / 2 ? cap : maxPositions * 2);
}

} // namespace

SolverSearch::SolverSearch(const SolverBoard& board, SolveBudget budget,
                           SolverTechniques techniques)
    : board_(board), techniques_(techniques),
      maxPositions_(budget.MaxPositions ? budget.MaxPositions
                                        : std::numeric_limits<std::uint64_t>::max()),
      maxMilliseconds_(budget.MaxMilliseconds > 0 ? budget.MaxMilliseconds
                                                  : std::numeric_limits<double>::infinity()),
      memo_(MemoSlotsFor(maxPositions_)), orders_(MaxDepth + 1) {
    path_.reserve(TileCount / 2);
}

SolveResult SolverSearch::Run(Clock::time_point start) {
    start_ = start;
    SolverPosition root;
    root.Present = board_.Tiles();
    root.Free = board_.FreeTiles(root.Present);
    for (int f = 0; f < FaceCount; ++f)
        if (CountBits(root.Present.Face(f)) == 4)
            root.SetAllowed(f, techniques_.Pairing ? board_.Pairable(f) : AllMatchings);

    if (techniques_.Shaving && techniques_.QuickPositions > 0) {
        // Most deals are settled within a few hundred positions without
        // shaving; the rest are searched again with it.
        phaseEnd_ = techniques_.QuickPositions;
        orders_[0].Start(board_, root.Present);
        if (Explore(root, 0))
            return SolveResult::Winnable;
        if (!aborted_)
            return SolveResult::Hopeless;
        if (positions_ < phaseEnd_)
            return SolveResult::Unknown; // the budget, not the quick look, ran out
        // What the quick look proved hopeless stays in the memo: still true.
        aborted_ = false;
        path_.clear();
    }
    if (techniques_.Shaving) {
        shave_ = true;
        shaves_.resize(MaxDepth + 1);
    }
    phaseEnd_ = std::numeric_limits<std::uint64_t>::max();
    orders_[0].Start(board_, root.Present);
    if (Explore(root, 0))
        return SolveResult::Winnable;
    return aborted_ ? SolveResult::Unknown : SolveResult::Hopeless;
}

void SolverSearch::Remove(SolverPosition& p, int i) const {
    p.Present.Drop(i);
    p.Free.Drop(i);
    // Taking a tile away can only free others, never block them.
    for (int k = 0; k < board_.DependentCount(i); ++k) {
        const int d = board_.Dependent(i, k);
        if (p.Present.Has(d) && !p.Free.Has(d) && board_.IsFree(p.Present, d))
            p.Free.Add(d);
    }
}

void SolverSearch::TakePair(SolverPosition& p, int face, unsigned pair) {
    const int a = 4 * face + std::countr_zero(pair);
    const int b = 4 * face + 31 - std::countl_zero(pair);
    Remove(p, a);
    Remove(p, b);
    path_.emplace_back(static_cast<std::uint8_t>(a + 1), static_cast<std::uint8_t>(b + 1));
    // The two left are a pair from now on; no choice is left to remember.
    p.SetAllowed(face, 0);
}

void SolverSearch::Settle(SolverPosition& p) {
    for (bool again = true; again;) {
        again = false;
        for (int f = 0; f < FaceCount; ++f) {
            const unsigned here = p.Present.Face(f);
            if (here == 0)
                continue;
            const unsigned free = p.Free.Face(f);
            if (CountBits(here) == 2) {
                // Safe: the last two of a face can only leave together, and
                // taking tiles early never blocks another tile.
                if (free == here) {
                    TakePair(p, f, here);
                    again = true;
                }
                continue;
            }
            const unsigned allowed = p.Allowed(f);
            if (free == here && techniques_.ForcedMoves) {
                // Safe: four free tiles leave in two pairs among themselves in any
                // clearing, and dropping those pairs from it clears the rest.
                const auto [first, second] = MatchingPairs(std::countr_zero(allowed));
                TakePair(p, f, first);
                TakePair(p, f, second);
                again = true;
            } else if (CountBits(allowed) == 1) {
                // Safe: a decided pair must leave some time, and sooner frees more.
                const auto [first, second] = MatchingPairs(std::countr_zero(allowed));
                for (unsigned pair : {first, second})
                    if ((free & pair) == pair) {
                        TakePair(p, f, pair);
                        again = true;
                        break;
                    }
            }
        }
    }
}

bool SolverSearch::OutOfBudget() {
    // A shaved position takes long enough to look at the clock every time.
    if (positions_ >= phaseEnd_ || positions_ >= maxPositions_ ||
        ((shave_ || (positions_ & 63) == 0) &&
         std::chrono::duration<double, std::milli>(Clock::now() - start_).count() >
             maxMilliseconds_))
        aborted_ = true;
    return aborted_;
}

bool SolverSearch::Explore(SolverPosition p, int depth) {
    const std::size_t entry = path_.size();
    Settle(p);
    if (p.Present.Empty())
        return true;
    ++positions_;
    // Looked up before the costlier reasoning below, and stored again after it.
    const SolverPosition settled = p;
    if (OutOfBudget() || (techniques_.Memo && memo_.Contains(settled))) {
        path_.resize(entry);
        return false;
    }

    SolverOrder& order = orders_[depth];
    bool alive = true;
    for (bool again = true; again && alive;) {
        again = false;
        if (techniques_.Order)
            alive = Propagate(p, order, again);
        if (again || !alive) {
            Settle(p);
            continue;
        }
        if (techniques_.Relaxation)
            alive = PlayLoose(board_, p, LooseStart(p), nullptr);
        if (alive && shave_) {
            alive = Shave(p, shaves_[depth], again);
            if (again)
                Settle(p);
        }
    }
    if (alive && p.Present.Empty())
        return true;

    std::array<Branch, 4> branches;
    const int count = alive ? Branches(p, branches) : 0;
    const std::size_t base = path_.size();
    for (int k = 0; k < count; ++k) {
        SolverPosition child = p;
        child.SetAllowed(branches[k].Face, branches[k].Allowed);
        orders_[depth + 1] = order;
        if (shave_)
            shaves_[depth + 1] = shaves_[depth];
        if (Explore(child, depth + 1))
            return true;
        ++conflicts_[branches[k].Face];
        path_.resize(base);
        if (aborted_)
            break;
    }
    // Only a fully searched position is a proof.
    if (!aborted_ && techniques_.Memo) {
        memo_.Insert(settled);
        if (!p.Present.Empty())
            memo_.Insert(p);
    }
    path_.resize(entry);
    return false;
}

} // namespace mirelo
