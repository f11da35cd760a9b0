#!/usr/bin/env bash
# CPU used by a running game that nobody touches, next to a bare Qt window with
# a 10 ms timer, both on a private Xvfb screen; from /proc/PID/stat.
# Usage: bench/idle_cpu.sh [seconds] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_WATCH=${1:-30}
BUILD=${2:-build/dev}

source scripts/xvfb.sh
start_private_xvfb 800x600x24

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
HZ=$(getconf CLK_TCK)

# One at a time, so each has the screen to itself.
printf '%-14s %10s\n' program "% of a core"
for program in "$BUILD/bench/bare_window" "$BUILD/app/mirelo" "$BUILD/app/mirelo_silent"; do
  "$program" >/dev/null 2>&1 &
  pid=$!
  XVFB_CLEANUP_PIDS+=("$pid")
  sleep 2 # past start-up and the first deal
  start=$(ticks "$pid")
  sleep "$SECONDS_TO_WATCH"
  end=$(ticks "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v p="$(basename "$program")" -v t=$((end - start)) -v hz="$HZ" -v s="$SECONDS_TO_WATCH" \
    'BEGIN { printf "%-14s %10.2f\n", p, 100 * t / hz / s }'
done
