#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite: the
# optimised build, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a bounded run of every fuzzer.
# MIRELO_QUICK=1 runs the optimised build's suite alone.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
jobs=$(nproc)

echo "== Formatting"
./scripts/format.sh --check

echo "== Optimised build"
cmake --preset dev
cmake --build --preset dev
ctest --preset dev --timeout 600 -j "$jobs"

if [[ "${MIRELO_QUICK:-0}" == 1 ]]; then
  exit 0
fi

echo "== Sanitizer build"
cmake --preset asan
cmake --build --preset asan
# The soak plays fewer games here: the sanitizers make each step many times
# slower, and the optimised run above plays the full count.
MIRELO_SOAK_GAMES=${MIRELO_SOAK_GAMES:-10000} ctest --preset asan --timeout 1200 -j "$jobs"

echo "== Fuzzers"
./scripts/fuzz.sh "${MIRELO_FUZZ_SECONDS:-60}"
