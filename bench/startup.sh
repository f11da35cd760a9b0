#!/usr/bin/env bash
# Start-up to the first painted window, on a private Xvfb screen: mirelo,
# mirelo_silent and a bare Qt window built the same way, run alternately.
# Usage: bench/startup.sh [runs] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-20}
BUILD=${2:-build/dev}

source scripts/xvfb.sh
start_private_xvfb 800x600x24
export MIRELO_FIRST_PAINT_EXIT=1

declare -A total
programs=(bare_window mirelo mirelo_silent)
paths=([0]=$BUILD/bench/bare_window [1]=$BUILD/app/mirelo [2]=$BUILD/app/mirelo_silent)
for p in "${programs[@]}"; do total[$p]=0; done
"${paths[0]}" >/dev/null 2>&1 # warm the file cache once
for _ in $(seq "$RUNS"); do
  for i in 0 1 2; do
    start=$(date +%s%N)
    timeout 20 "${paths[$i]}" >/dev/null 2>&1
    end=$(date +%s%N)
    total[${programs[$i]}]=$(( ${total[${programs[$i]}]} + (end - start) / 1000 ))
  done
done
bare=$(( ${total[bare_window]} / RUNS ))
printf '%-14s %8s %8s\n' program "ms" "x bare"
for p in "${programs[@]}"; do
  mean=$(( ${total[$p]} / RUNS ))
  awk -v p="$p" -v m="$mean" -v b="$bare" 'BEGIN { printf "%-14s %8.1f %8.2f\n", p, m / 1000, m / b }'
done
