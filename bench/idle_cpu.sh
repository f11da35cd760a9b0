#!/usr/bin/env bash
# How often each program wakes, and what it costs, while nobody touches it: the
# bare Qt window with its timer stopped and running, and the game in the states
# a player leaves it in (a game running, paused, stopped, none dealt; the full
# edition with music off and with a tune playing), each alone on a private Xvfb
# screen with settings of its own.
#
# Wake-ups are the context switches of every thread of the process
# (voluntary_ctxt_switches + nonvoluntary_ctxt_switches in
# /proc/PID/task/*/status), counted over the watch and divided by its length.
# The threads are read every second, so a thread that ends during the watch
# loses at most its last second. CPU is utime + stime of /proc/PID/stat over the
# same watch; peak memory is VmHWM at its end.
#
# Prints one line per case: case, wake-ups a second, % of one core, peak MiB,
# and for the tune whether the sound device's output held any sound.
# Usage: bench/idle_cpu.sh [seconds] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_WATCH=${1:-30}
BUILD=${2:-build/dev}

for p in bench/bare_window app/mirelo app/mirelo_silent; do
  [[ -x $BUILD/$p ]] || { echo "missing $BUILD/$p: build first" >&2; exit 1; }
done
command -v xdotool >/dev/null || { echo "xdotool is needed (apt-get install xdotool)" >&2; exit 1; }

# In memory, as a desktop session's runtime folder is (see startup.sh).
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm
source scripts/xvfb.sh
start_private_xvfb 800x600x24
HZ=$(getconf CLK_TCK)

# Every thread's context switches, as lines of "tid count".
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    awk -v t="${task##*/}" '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { if (n != "") print t, n }' \
      "$task/status" 2>/dev/null || true
  done
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# The game's main window: the one of its windows at least 640 pixels wide.
main_window() {
  local w width
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    width=$(xdotool getwindowgeometry --shell "$w" | awk -F= '$1 == "WIDTH" { print $2 }')
    ((width >= 640)) && { echo "$w"; return; }
  done
}

keys() {
  local pid=$1 window key
  shift
  for _ in $(seq 50); do
    window=$(main_window "$pid")
    [[ -n $window ]] && break
    sleep 0.1
  done
  [[ -n $window ]] || { echo "no window to send keys to" >&2; return 1; }
  for key in "$@"; do
    xdotool windowfocus --sync "$window" key "$key"
    sleep 0.2
  done
}

# watch NAME SETTINGS KEYS PROGRAM [ARGS...]: starts PROGRAM with SETTINGS as
# its Mirelo.ini, presses KEYS (space-separated, may be empty) once its window
# is up, lets it settle, then watches it.
watch() {
  local name=$1 settings=$2 keys_to_press=$3 pid
  shift 3
  local config out
  config=$(mktemp -d)
  out=$config/sound.raw
  printf '%b' "$settings" >"$config/Mirelo.ini"
  # The disk driver writes what the device plays, so the tune can be checked.
  XDG_CONFIG_HOME=$config SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out "$@" >/dev/null 2>&1 &
  pid=$!
  XVFB_CLEANUP_PIDS+=("$pid")
  sleep 2 # past start-up and the first deal
  if [[ -n $keys_to_press ]]; then
    # shellcheck disable=SC2086
    keys "$pid" $keys_to_press
    sleep 2
  fi

  declare -A first=() last=()
  local tid count
  while read -r tid count; do first[$tid]=$count last[$tid]=$count; done < <(switches "$pid")
  local start_ticks
  start_ticks=$(ticks "$pid")
  for _ in $(seq "$SECONDS_TO_WATCH"); do
    sleep 1
    while read -r tid count; do
      # A thread born during the watch counts from nothing.
      [[ -v first[$tid] ]] || first[$tid]=0
      last[$tid]=$count
    done < <(switches "$pid")
  done
  local end_ticks peak total=0
  end_ticks=$(ticks "$pid")
  peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
  for tid in "${!last[@]}"; do total=$((total + last[$tid] - first[$tid])); done
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  # Any sample that is not zero: the tune was heard.
  local heard=-
  [[ $name == *music-on* ]] && { [[ -s $out ]] && [[ -n $(tr -d '\0' <"$out" | head -c 1) ]] && heard=yes || heard=no; }
  rm -rf "$config"
  awk -v n="$name" -v w="$total" -v t=$((end_ticks - start_ticks)) -v hz="$HZ" \
    -v s="$SECONDS_TO_WATCH" -v k="$peak" -v h="$heard" \
    'BEGIN { printf "%-26s %10.2f %12.2f %9.1f %6s\n", n, w / s, 100 * t / hz / s, k / 1024, h }'
}

BARE=$BUILD/bench/bare_window
FULL=$BUILD/app/mirelo
SILENT=$BUILD/app/mirelo_silent
NO_GAME='[Mirelo]\nStartDirectly=0\n'
MUSIC_ON='[Mirelo]\nPlayMusic=1\n'

printf '%-26s %10s %12s %9s %6s\n' case "wakeups/s" "% of a core" "peak MiB" heard
watch bare-timer-stopped '' '' "$BARE" --timer-stopped
watch bare-timer-running '' '' "$BARE"
watch silent-running '' '' "$SILENT"
watch silent-paused '' 'ctrl+p' "$SILENT"
watch silent-stopped '' 'ctrl+x' "$SILENT"
watch silent-no-game "$NO_GAME" '' "$SILENT"
watch full-music-off-running '' '' "$FULL"
watch full-music-off-no-game "$NO_GAME" '' "$FULL"
# The Music menu's first tune, chosen from the keyboard, plays at once.
watch full-music-on-running "$MUSIC_ON" 'alt+u Return' "$FULL"
