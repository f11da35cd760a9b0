#!/usr/bin/env bash
# Sets up the machine, builds the game and starts it.
#
# With no display (neither DISPLAY nor WAYLAND_DISPLAY set) the game starts on a
# private Xvfb screen instead; once the first deal is drawn a screenshot is
# saved, its path printed, and the game is closed the normal way (Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
GAME=${MIRELO_EDITION:-mirelo}
BIN=./build/dev/app/$GAME

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$BIN" "$@"
fi

SHOT=${MIRELO_SCREENSHOT:-$PWD/build/mirelo-screenshot.png}
# The player's own settings folder is kept, so the screenshot shows their options.
MIRELO_CONFIG_HOME=${XDG_CONFIG_HOME:-$HOME/.config}
source scripts/xvfb.sh
start_private_xvfb 800x600x24
echo "No display found: running $GAME on the private screen $DISPLAY"

"$BIN" "$@" &
GAME_PID=$!
WINDOW=$(xdotool search --sync --onlyvisible --name "MIRELO 2.8" | head -1)
sleep 1.5 # let the first deal reach the screen
xwd -root -silent | convert xwd:- "$SHOT"
echo "Screenshot of the first deal: $SHOT"
xdotool windowfocus --sync "$WINDOW" key ctrl+c
wait $GAME_PID
echo "$GAME closed normally."
