#!/usr/bin/env bash
# Sets up the machine, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
exec ./build/dev/app/mirelo_deal "$@"
