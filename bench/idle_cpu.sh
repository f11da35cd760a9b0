#!/usr/bin/env bash
# CPU used by a running game that nobody touches, next to a bare Qt window with
# a 10 ms timer, both on a private Xvfb screen; from /proc/PID/stat. Also the
# peak resident memory of each by the end of the watch (VmHWM), by which time
# the full edition has loaded its sound font.
# Usage: bench/idle_cpu.sh [seconds] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_WATCH=${1:-30}
BUILD=${2:-build/dev}

# In memory, as a desktop session's runtime folder is (see startup.sh).
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm
source scripts/xvfb.sh
start_private_xvfb 800x600x24

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
HZ=$(getconf CLK_TCK)

# One at a time, so each has the screen to itself.
printf '%-14s %12s %9s\n' program "% of a core" "peak MiB"
for program in "$BUILD/bench/bare_window" "$BUILD/app/mirelo" "$BUILD/app/mirelo_silent"; do
  "$program" >/dev/null 2>&1 &
  pid=$!
  XVFB_CLEANUP_PIDS+=("$pid")
  sleep 2 # past start-up and the first deal
  start=$(ticks "$pid")
  sleep "$SECONDS_TO_WATCH"
  end=$(ticks "$pid")
  peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v p="$(basename "$program")" -v t=$((end - start)) -v hz="$HZ" -v s="$SECONDS_TO_WATCH" \
    -v k="$peak" 'BEGIN { printf "%-14s %12.2f %9.1f\n", p, 100 * t / hz / s, k / 1024 }'
done
