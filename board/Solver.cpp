#include "Solver.h"

#include "SolverBoard.h"
#include "SolverMemo.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <limits>
#include <memory>

namespace mirelo {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr int FaceCount = TileCount / 4;

// One branch of the search: a face's pairing is chosen (a single matching), or
// narrowed to the matchings that do not use the pair free now ("wait").
struct Branch {
    std::uint8_t Face = 0;
    std::uint8_t Allowed = 0;
    std::int16_t Score = 0;
};

// The search works on pairings, not on moves. Once each face's four tiles are
// split into two pairs, the order of removals no longer matters: a pair that is
// free may be taken at once, since taking tiles away never blocks another tile
// and the pair has to go some time. So the search only decides, face by face
// and only when it has to, which of the three pairings a face uses, and takes
// every decided pair as soon as both its tiles are free.
class Search {
public:
    Search(const SolverBoard& board, SolveBudget budget, SolverTechniques techniques)
        : board_(board), techniques_(techniques),
          maxPositions_(budget.MaxPositions ? budget.MaxPositions
                                            : std::numeric_limits<std::uint64_t>::max()),
          maxMilliseconds_(budget.MaxMilliseconds > 0 ? budget.MaxMilliseconds
                                                      : std::numeric_limits<double>::infinity()),
          memo_(MemoSlotsFor(maxPositions_)) {
        path_.reserve(TileCount / 2);
    }

    SolveResult Run(Clock::time_point start) {
        start_ = start;
        SolverPosition root;
        root.Present = board_.Tiles();
        root.Free = board_.FreeTiles(root.Present);
        for (int f = 0; f < FaceCount; ++f)
            if (std::popcount(root.Present.Face(f)) == 4)
                root.SetAllowed(f, techniques_.Pairing ? board_.Pairable(f) : AllMatchings);
        if (Explore(root))
            return SolveResult::Winnable;
        return aborted_ ? SolveResult::Unknown : SolveResult::Hopeless;
    }

    std::uint64_t Positions() const { return positions_; }
    const std::vector<std::pair<std::uint8_t, std::uint8_t>>& Path() const { return path_; }

private:
    static std::size_t MemoSlotsFor(std::uint64_t maxPositions) {
        // Room for every position the budget allows, but never more than 4M slots.
        constexpr std::uint64_t cap = std::uint64_t{1} << 22;
        return static_cast<std::size_t>(maxPositions >= cap / 2 ? cap : maxPositions * 2);
    }

    void Remove(SolverPosition& p, int i) const {
        p.Present.Drop(i);
        p.Free.Drop(i);
        // Taking a tile away can only free others, never block them.
        for (int k = 0; k < board_.DependentCount(i); ++k) {
            const int d = board_.Dependent(i, k);
            if (p.Present.Has(d) && !p.Free.Has(d) && board_.IsFree(p.Present, d))
                p.Free.Add(d);
        }
    }

    void TakePair(SolverPosition& p, int face, unsigned pair) {
        const int a = 4 * face + std::countr_zero(pair);
        const int b = 4 * face + 31 - std::countl_zero(pair);
        Remove(p, a);
        Remove(p, b);
        path_.emplace_back(static_cast<std::uint8_t>(a + 1), static_cast<std::uint8_t>(b + 1));
        // The two left are a pair from now on; no choice is left to remember.
        p.SetAllowed(face, 0);
    }

    // Takes every pair that is decided and free, until none is.
    void Settle(SolverPosition& p) {
        for (bool again = true; again;) {
            again = false;
            for (int f = 0; f < FaceCount; ++f) {
                const unsigned here = p.Present.Face(f);
                if (here == 0)
                    continue;
                const unsigned free = p.Free.Face(f);
                if (std::popcount(here) == 2) {
                    if (free == here) {
                        TakePair(p, f, here);
                        again = true;
                    }
                    continue;
                }
                const unsigned allowed = p.Allowed(f);
                // Four free tiles leave together whichever way they pair: safe, as
                // any clearing keeps a clearing once their two pairs are dropped.
                if (free == here && techniques_.ForcedMoves) {
                    const auto [first, second] = MatchingPairs(std::countr_zero(allowed));
                    TakePair(p, f, first);
                    TakePair(p, f, second);
                    again = true;
                } else if (std::popcount(allowed) == 1) {
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

    // The matchings still allowed for face f that have a pair free now.
    static unsigned Ready(const SolverPosition& p, int f) {
        const unsigned free = p.Free.Face(f);
        unsigned ready = 0;
        for (unsigned m = 0; m < 3; ++m) {
            if (!((p.Allowed(f) >> m) & 1u))
                continue;
            const auto [first, second] = MatchingPairs(static_cast<int>(m));
            if ((free & first) == first || (free & second) == second)
                ready |= 1u << m;
        }
        return ready;
    }

    // How many tiles come free if the ready pairs of matching m are taken.
    int Gain(const SolverPosition& p, int f, int m) const {
        SolverPosition child = p;
        const unsigned free = p.Free.Face(f);
        const auto [first, second] = MatchingPairs(m);
        int taken = 0;
        for (unsigned pair : {first, second})
            if ((free & pair) == pair) {
                for (unsigned bits = pair; bits; bits &= bits - 1)
                    Remove(child, 4 * f + std::countr_zero(bits));
                taken += 2;
            }
        return child.Free.Count() - (p.Free.Count() - taken);
    }

    // Picks the face to decide and lists its branches, best first; none when
    // no pair at all can be taken.
    int Branches(const SolverPosition& p, std::array<Branch, 4>& out) const {
        int bestFace = -1, bestCount = 0;
        for (int f = 0; f < FaceCount; ++f) {
            if (std::popcount(p.Present.Face(f)) != 4 || std::popcount(p.Allowed(f)) < 2)
                continue;
            const unsigned ready = Ready(p, f);
            if (ready == 0)
                continue;
            const int count = std::popcount(ready) + (ready != p.Allowed(f));
            if (bestFace < 0 || count < bestCount) {
                bestFace = f;
                bestCount = count;
                if (!techniques_.Ordering)
                    break;
            }
        }
        if (bestFace < 0)
            return 0;
        const unsigned allowed = p.Allowed(bestFace);
        const unsigned ready = Ready(p, bestFace);
        int n = 0;
        for (int m = 0; m < 3; ++m)
            if ((ready >> m) & 1u) {
                const int score = techniques_.Ordering ? Gain(p, bestFace, m) : 0;
                out[n++] = {static_cast<std::uint8_t>(bestFace), static_cast<std::uint8_t>(1u << m),
                            static_cast<std::int16_t>(score)};
            }
        if (techniques_.Ordering)
            std::stable_sort(out.begin(), out.begin() + n,
                             [](const Branch& x, const Branch& y) { return x.Score > y.Score; });
        // Waiting for other partners comes last: it takes nothing now.
        if (ready != allowed)
            out[n++] = {static_cast<std::uint8_t>(bestFace), static_cast<std::uint8_t>(allowed & ~ready), 0};
        return n;
    }

    bool OutOfBudget() {
        if (positions_ >= maxPositions_)
            aborted_ = true;
        else if ((positions_ & 255) == 0 && MillisecondsSince(start_) > maxMilliseconds_)
            aborted_ = true;
        return aborted_;
    }

    bool Explore(SolverPosition p) {
        const std::size_t entry = path_.size();
        Settle(p);
        if (p.Present.Empty())
            return true;
        ++positions_;
        if (OutOfBudget() || (techniques_.Memo && memo_.Contains(p))) {
            path_.resize(entry);
            return false;
        }
        std::array<Branch, 4> branches;
        const int count = Branches(p, branches);
        const std::size_t base = path_.size();
        for (int k = 0; k < count; ++k) {
            SolverPosition child = p;
            child.SetAllowed(branches[k].Face, branches[k].Allowed);
            if (Explore(child))
                return true;
            path_.resize(base);
            if (aborted_)
                break;
        }
        // Only a fully searched position is a proof.
        if (!aborted_ && techniques_.Memo)
            memo_.Insert(p);
        path_.resize(entry);
        return false;
    }

    const SolverBoard& board_;
    const SolverTechniques techniques_;
    const std::uint64_t maxPositions_;
    const double maxMilliseconds_;
    SolverMemo memo_;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> path_;
    std::uint64_t positions_ = 0;
    bool aborted_ = false;
    Clock::time_point start_;
};

} // namespace

SolveOutcome SolveWith(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget,
                       SolverTechniques techniques) {
    const Clock::time_point start = Clock::now();
    SolveOutcome outcome;
    // Some 30 kB of masks, so kept off the caller's stack.
    auto board = std::make_unique<SolverBoard>();
    if (!board->Load(grid, places)) {
        outcome.Result = SolveResult::Unknown;
    } else if (board->ProvablyHopeless(techniques.Pairing)) {
        outcome.Result = SolveResult::Hopeless;
    } else {
        Search search(*board, budget, techniques);
        outcome.Result = search.Run(start);
        outcome.Positions = search.Positions();
        if (outcome.Result == SolveResult::Winnable)
            outcome.Pairs = search.Path();
    }
    outcome.Milliseconds = MillisecondsSince(start);
    return outcome;
}

SolveOutcome Solve(const BoardGrid& grid, const TilePlaces& places, SolveBudget budget) {
    return SolveWith(grid, places, budget, SolverTechniques{});
}

} // namespace mirelo
