#!/usr/bin/env bash
# Rebuilds all of Mirelo's artwork: installs the fonts the generator draws
# with (the game itself needs none of them), builds the generator and writes
# assets/*.png and docs/contact_sheet.png, each also at twice the pixel
# density (name@2x.png). Output is byte-identical per run.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
# Built outside the work tree so nothing stray lands next to the sources.
build="${ARTGEN_BUILD_DIR:-${TMPDIR:-/tmp}/mirelo-build-artgen}"

# The game's own packages plus the fonts only the generator draws with.
"$root/scripts/setup.sh" fonts-arphic-ukai fonts-noto-cjk fonts-urw-base35 fonts-dejavu-core

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
QT_QPA_PLATFORM=offscreen "$build/artgen" "$root"
echo "Wrote $root/assets/*.png and $root/docs/contact_sheet.png, with their @2x twins"
