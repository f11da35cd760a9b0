#include "SolverLoose.h"
#include "SolverSearch.h"

#include <algorithm>
#include <bit>

namespace mirelo {
namespace {

constexpr int FaceCount = TileCount / 4;

// The partners tile k of a face may have, given its face's tiles on the board
// (a decided pair when two) and the matchings allowed.
unsigned PartnersOf(unsigned here, unsigned allowed, int k) {
    return CountBits(here) == 2 ? here & ~(1u << k) : Partners(allowed, k);
}

// A play of the looser game stays a play of it when a face's matchings narrow,
// as long as each tile of that face still had one of its partners at hand.
bool StillFits(const std::array<std::uint8_t, TileCount>& run, const SolverPosition& p, int face) {
    const unsigned here = p.Present.Face(face);
    for (unsigned bits = here; bits; bits &= bits - 1) {
        const int k = std::countr_zero(bits);
        if (!(PartnersOf(here, p.Allowed(face), k) & run[4 * face + k]))
            return false;
    }
    return true;
}

std::uint8_t FaceState(const SolverPosition& p, int face) {
    return static_cast<std::uint8_t>(p.Allowed(face) | (p.Present.Face(face) << 3));
}

} // namespace

// Tries each matching still allowed on its own in the looser game and drops
// those with which even that game cannot be cleared. Safe for the same reason
// the looser game is: a clearing that uses the matching would clear it.
bool SolverSearch::Shave(SolverPosition& p, ShaveRuns& runs, bool& decidedMore) {
    decidedMore = false;
    std::array<std::uint8_t, FaceCount> changed{};
    int changedCount = 0;
    for (int f = 0; f < FaceCount; ++f)
        if (FaceState(p, f) != runs.States[f])
            changed[changedCount++] = static_cast<std::uint8_t>(f);

    // One play with every allowed matching: a matching that pairs each tile with
    // a partner it had at hand when it left clears the looser game the same way.
    LooseTrace first;
    if (!PlayLoose(board_, p, LooseStart(p), &first))
        return false;

    std::array<std::uint8_t, FaceCount> narrowed{};
    int narrowedCount = 0;
    for (int f = 0; f < FaceCount; ++f) {
        const unsigned allowed = p.Allowed(f);
        if (CountBits(p.Present.Face(f)) != 4 || CountBits(allowed) < 2)
            continue;
        unsigned keep = allowed;
        for (int m = 0; m < 3; ++m) {
            if (!((allowed >> m) & 1u))
                continue;
            const int index = 3 * f + m;
            // The play under matching m agrees with the first one up to the first
            // tile of this face that left without its partner under m.
            int agree = TileCount;
            for (int k = 0; k < 4; ++k)
                if (!(Partners(1u << m, k) & first.Available[4 * f + k]))
                    agree = std::min<int>(agree, first.Step[4 * f + k]);
            if (agree == TileCount) {
                runs.Runs[index] = first.Available;
                runs.Valid[index] = true;
                continue;
            }
            bool fits = runs.Valid[index];
            for (int c = 0; c < changedCount && fits; ++c)
                fits = changed[c] == f || StillFits(runs.Runs[index], p, changed[c]);
            if (fits)
                continue;
            SolverPosition trial = p;
            trial.SetAllowed(f, 1u << m);
            LooseTrace play;
            play.Available = first.Available;
            play.Steps = agree / LooseTrace::Every * LooseTrace::Every;
            runs.Valid[index] =
                PlayLoose(board_, trial, first.Checkpoints[agree / LooseTrace::Every], &play);
            runs.Runs[index] = play.Available;
            if (!runs.Valid[index]) {
                keep &= ~(1u << m);
                ++conflicts_[f];
            }
        }
        if (keep == 0)
            return false;
        if (keep != allowed) {
            p.SetAllowed(f, keep);
            narrowed[narrowedCount++] = static_cast<std::uint8_t>(f);
            decidedMore = decidedMore || CountBits(keep) == 1;
        }
    }
    // Plays made before a face narrowed in this pass must fit it too.
    for (int index = 0; index < 3 * FaceCount && narrowedCount; ++index)
        for (int c = 0; c < narrowedCount && runs.Valid[index]; ++c)
            if (narrowed[c] != index / 3 && !StillFits(runs.Runs[index], p, narrowed[c]))
                runs.Valid[index] = false;
    for (int f = 0; f < FaceCount; ++f)
        runs.States[f] = FaceState(p, f);
    return true;
}

} // namespace mirelo
