#include "SolverLoose.h"

#include <bit>

namespace mirelo {

LooseState LooseStart(const SolverPosition& rules) {
    return {rules.Present, rules.Free, rules.Free};
}

bool PlayLoose(const SolverBoard& board, const SolverPosition& rules, LooseState state,
               LooseTrace* trace) {
    TileSet& present = state.Present;
    TileSet& free = state.Free;
    TileSet& todo = state.Todo;
    // A tile coming free or leaving may give the free tiles of its face a partner.
    const auto wakeFaceOf = [&](int i) {
        const int f = i / 4;
        todo.W[f / TileSet::FacesPerWord] |= std::uint64_t{free.Face(f)}
                                             << (f % TileSet::FacesPerWord * 4);
    };
    for (int w = 0; w < 3;) {
        if (todo.W[w] == 0) {
            ++w;
            continue;
        }
        const int i = w * 64 + std::countr_zero(todo.W[w]);
        todo.W[w] &= todo.W[w] - 1;
        const int f = i / 4, k = i % 4;
        if (!present.Has(i) || !free.Has(i))
            continue;
        const unsigned here = rules.Present.Face(f);
        const unsigned partners =
            CountBits(here) == 2 ? here & ~(1u << k) : Partners(rules.Allowed(f), k);
        const unsigned available = free.Face(f) | (here & ~present.Face(f));
        if (!(partners & available))
            continue;
        if (trace) {
            if (trace->Steps % LooseTrace::Every == 0) {
                // The state before this step, with this tile still to look at.
                trace->Checkpoints[trace->Steps / LooseTrace::Every] = state;
                trace->Checkpoints[trace->Steps / LooseTrace::Every].Todo.Add(i);
            }
            trace->Available[i] = static_cast<std::uint8_t>(available);
            trace->Step[i] = static_cast<std::uint8_t>(trace->Steps++);
        }
        present.Drop(i);
        free.Drop(i);
        wakeFaceOf(i);
        for (int n = 0; n < board.DependentCount(i); ++n) {
            const int d = board.Dependent(i, n);
            if (present.Has(d) && !free.Has(d) && board.IsFree(present, d)) {
                free.Add(d);
                todo.Add(d);
                wakeFaceOf(d);
            }
        }
        // A tile woken in an earlier word is looked at again.
        w = 0;
    }
    return present.Empty();
}

} // namespace mirelo
