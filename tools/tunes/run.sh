#!/usr/bin/env bash
# Rebuilds assets/tunes/*.mid from tools/tunes. The output is the same on every run.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${MIRELO_TOOLS_BUILD_DIR:-${TMPDIR:-/tmp}/mirelo-build-tools}"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DMIRELO_BUILD_TESTS=OFF -DMIRELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target mirelo_tunes
"$build/tools/tunes/mirelo_tunes" "$root/assets/tunes"
