# Sourced by the scripts that run the game without a display: starts a private
# Xvfb screen (size as the first argument, e.g. 800x600x24), exports DISPLAY,
# a private XDG_RUNTIME_DIR and XDG_CONFIG_HOME, and stops it all on exit.
# Programs started later can be added to XVFB_CLEANUP_PIDS to be killed too.
start_private_xvfb() {
  local screen=${1:-800x600x24}
  XVFB_TMP=$(mktemp -d)
  export XDG_RUNTIME_DIR=$XVFB_TMP/runtime
  export XDG_CONFIG_HOME=${MIRELO_CONFIG_HOME:-$XVFB_TMP/config}
  export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
  mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$XVFB_TMP/display" 2>/dev/null &
  XVFB_PID=$!
  XVFB_CLEANUP_PIDS=()
  trap 'kill "${XVFB_CLEANUP_PIDS[@]}" "$XVFB_PID" 2>/dev/null; rm -rf "$XVFB_TMP"' EXIT
  for _ in $(seq 200); do
    [[ -s $XVFB_TMP/display ]] && break
    sleep 0.05
  done
  export DISPLAY=:$(cat "$XVFB_TMP/display")
  unset WAYLAND_DISPLAY
}
