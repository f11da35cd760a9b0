#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake --preset dev
cmake --build --preset dev
ctest --preset dev --timeout 600 -j "$(nproc)"
