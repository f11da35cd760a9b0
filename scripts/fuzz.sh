#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) and runs each for a bounded time on its
# committed corpus. New inputs the fuzzer finds go to a scratch folder, so the
# committed corpus changes only when someone copies an input in on purpose.
# A crash, leak or sanitizer report fails the run and leaves the input in
# build/fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}

cmake --preset fuzz >/dev/null
targets=(fuzz_profile fuzz_hall fuzz_sl10 fuzz_soundfont)
cmake --build --preset fuzz --target "${targets[@]}"

findings=build/fuzz/findings
mkdir -p "$findings"
failed=0
for target in "${targets[@]}"; do
  corpus=fuzz/corpus/${target#fuzz_}
  scratch=$(mktemp -d)
  log=build/fuzz/$target.log
  echo "== $target: ${SECONDS_EACH} s on $corpus"
  if ./build/fuzz/fuzz/"$target" "$scratch" "$corpus" \
      -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
    echo "   $(find "$scratch" -type f | wc -l) new inputs (not kept), no crash"
  else
    failed=1
    echo "   FAILED: see $log and $findings/"
    tail -n 40 "$log"
  fi
  rm -rf "$scratch"
done
exit $failed
