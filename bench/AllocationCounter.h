#pragma once

#include <benchmark/benchmark.h>

namespace mirelo::bench {

// Heap allocations made so far by the program: the benchmark programs that
// link AllocationCounter.cpp count every operator new, so a benchmark can
// show that a hot path makes none.
long Allocations();

// Sets the "allocs/op" counter from the count taken `before` the loop.
void ReportAllocations(benchmark::State& state, long before);

} // namespace mirelo::bench
