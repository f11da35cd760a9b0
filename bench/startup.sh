#!/usr/bin/env bash
# Start-up to the first painted window and peak resident memory, on a private
# Xvfb screen: mirelo, mirelo_silent and a bare Qt window built the same way,
# run alternately so that a busy moment of the machine hits all three alike.
# Each run is launched by measure_run, which takes the time of the first paint
# from the program itself (MIRELO_FIRST_PAINT_EXIT=1) and the peak memory and
# processor time from wait4. Medians, with the middle half of the runs.
# Usage: bench/startup.sh [runs] [build-dir]
# A dense screen: MIRELO_BENCH_SCREEN=1920x1200x24 QT_SCALE_FACTOR=2 bench/startup.sh
# MIRELO_BENCH_QUIET=1 starts each program on a quiet X server: back to back,
# a program shares the server with the teardown of the window before it.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-30}
BUILD=${2:-build/dev}

programs=(bare_window mirelo mirelo_silent)
paths=("$BUILD/bench/bare_window" "$BUILD/app/mirelo" "$BUILD/app/mirelo_silent")
MEASURE=$BUILD/bench/measure_run
for p in "${paths[@]}" "$MEASURE"; do
  [[ -x $p ]] || { echo "missing $p: build first (cmake --build $BUILD)" >&2; exit 1; }
done

# The private runtime folder lies in memory, as a desktop session's
# /run/user folder does: the single-instance lock file is written there with
# fdatasync, which on a disk costs milliseconds that no player pays.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm
source scripts/xvfb.sh
start_private_xvfb "${MIRELO_BENCH_SCREEN:-800x600x24}"
export MIRELO_FIRST_PAINT_EXIT=1

RESULTS=$(mktemp -d)
trap 'kill "${XVFB_CLEANUP_PIDS[@]}" "$XVFB_PID" 2>/dev/null; rm -rf "$XVFB_TMP" "$RESULTS"' EXIT
# With MIRELO_BENCH_QUIET=1, waits until the X server has used no processor
# time for two steps of 20 ms (at most 2 s).
server_ticks() { awk '{ print $14 + $15 }' "/proc/$XVFB_PID/stat"; }
settle() {
  [[ ${MIRELO_BENCH_QUIET:-0} == 1 ]] || return 0
  local last now still=0 steps=0
  last=$(server_ticks)
  while ((still < 2 && steps < 100)); do
    sleep 0.02
    now=$(server_ticks)
    if [[ $now == "$last" ]]; then still=$((still + 1)); else still=0; fi
    last=$now
    steps=$((steps + 1))
  done
}

# One run each to warm the file cache.
for p in "${paths[@]}"; do "$MEASURE" "$p" >/dev/null 2>&1; done
for _ in $(seq "$RUNS"); do
  for i in 0 1 2; do
    settle
    "$MEASURE" "${paths[$i]}" 2>/dev/null >>"$RESULTS/${programs[$i]}"
  done
done

# The value at fraction q (0.5 the median) of field `name` over a program's
# runs that painted and ended well.
quantile() {
  awk -v name="$2" '$2 >= 0 && $NF == 0 { for (i = 1; i < NF; i += 2) if ($i == name) print $(i + 1) }' "$RESULTS/$1" |
    sort -g | awk -v q="$3" '{ v[NR] = $1 } END { i = int(q * (NR - 1)) + 1; print v[i] }'
}
failed() { awk '$2 < 0 || $NF != 0' "$RESULTS/$1" | wc -l; }

bare_paint=$(quantile bare_window paint_ms 0.5)
bare_peak=$(quantile bare_window peak_kib 0.5)
printf '%-14s %9s %15s %7s %8s %9s %7s %6s\n' program "paint ms" "middle half" "x bare" "cpu ms" "peak MiB" "x bare" failed
for p in "${programs[@]}"; do
  awk -v p="$p" -v m="$(quantile "$p" paint_ms 0.5)" -v q1="$(quantile "$p" paint_ms 0.25)" \
    -v q3="$(quantile "$p" paint_ms 0.75)" -v c="$(quantile "$p" cpu_ms 0.5)" \
    -v k="$(quantile "$p" peak_kib 0.5)" -v b="$bare_paint" -v bk="$bare_peak" -v f="$(failed "$p")" \
    'BEGIN { printf "%-14s %9.1f %7.1f–%-7.1f %7.2f %8.1f %9.1f %7.2f %6d\n", p, m, q1, q3, m / b, c, k / 1024, k / bk, f }'
done
