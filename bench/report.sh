#!/usr/bin/env bash
# The performance report, in one run on this machine: start-up to the first
# painted window and peak resident memory of mirelo, mirelo_silent and a bare
# Qt window built the same way (bench/startup.sh), the CPU each uses while
# nobody touches it (bench/idle_cpu.sh), and the Google Benchmark figures of
# the rules, the drawing and the sound. Prints a markdown report with each
# target, the ratios to the bare window and whether the target is met.
# Run it after the dev build (cmake --preset dev && cmake --build --preset dev),
# on a machine that is otherwise quiet: the figures are wall-clock times.
# Usage: bench/report.sh [build-dir] [start-up runs] [idle seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build/dev}
RUNS=${2:-30}
IDLE=${3:-30}

# The targets: start-up and peak memory against the bare window, idle CPU in
# per cent of one core, the mixer's share of a device period.
STARTUP_LIMIT=1.5
MEMORY_LIMIT=1.5
IDLE_LIMIT=1.0
MIX_LIMIT=10

for p in app/mirelo app/mirelo_silent bench/bare_window bench/measure_run bench/bench_board \
  bench/bench_display bench/bench_audio; do
  [[ -x $BUILD/$p ]] || {
    echo "missing $BUILD/$p: build first (cmake --preset dev && cmake --build --preset dev)" >&2
    exit 1
  }
done

OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# Google Benchmark's JSON, one key a line, turned into lines of
# name<TAB>real<TAB>cpu<TAB>unit<TAB>iterations<TAB>label<TAB>error<TAB>counters.
bench_rows() {
  awk '
    /"benchmarks": \[/ { inside = 1; next }
    !inside { next }
    /^ *\]/ { inside = 0; next }
    /^ *\{/ { delete f; counters = ""; next }
    /^ *\}/ {
      printf "%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", f["name"], f["real_time"], f["cpu_time"],
        f["time_unit"], f["iterations"], f["label"], f["error_message"], counters
      next
    }
    match($0, /^ *"[^"]+": /) {
      key = substr($0, RSTART, RLENGTH); sub(/^ *"/, "", key); sub(/": $/, "", key)
      value = substr($0, RSTART + RLENGTH); sub(/,$/, "", value); gsub(/"/, "", value)
      f[key] = value
      if (key !~ /^(name|family_index|per_family_instance_index|run_name|run_type|repetitions|repetition_index|threads|iterations|real_time|cpu_time|time_unit|label|error_occurred|error_message|aggregate_name|aggregate_unit)$/)
        counters = counters (counters == "" ? "" : " ") key "=" sprintf("%.4g", value + 0)
    }' "$1"
}

# A counter's value on a row of bench_rows, empty when absent.
counter() { awk -F'\t' -v name="$2" '{ n = split($8, c, " "); for (i = 1; i <= n; ++i) { split(c[i], kv, "="); if (kv[1] == name) print kv[2] } }' <<<"$1"; }

verdict() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v != "" && v <= limit) ? "pass" : "FAIL" }'; }

echo "Measuring start-up ($RUNS runs each)..." >&2
bench/startup.sh "$RUNS" "$BUILD" >"$OUT/startup"
echo "Measuring idle CPU ($IDLE s each)..." >&2
bench/idle_cpu.sh "$IDLE" "$BUILD" >"$OUT/idle"
echo "Running the benchmarks..." >&2
"$BUILD/bench/bench_board" --benchmark_format=json >"$OUT/board.json" 2>/dev/null
"$BUILD/bench/bench_display" --benchmark_format=json >"$OUT/display.json" 2>/dev/null
"$BUILD/bench/bench_audio" --benchmark_format=json >"$OUT/audio.json" 2>/dev/null
for b in board display audio; do bench_rows "$OUT/$b.json" >"$OUT/$b.rows"; done

commit_line() {
  local head
  head=$(git rev-parse --short HEAD 2>/dev/null) || { echo unknown; return; }
  git diff --quiet HEAD 2>/dev/null && echo "$head" || echo "$head with local changes"
}
field() { awk -v p="$2" -v c="$3" '$1 == p { print $c }' "$OUT/$1"; }
# startup: program paint middle-half x-bare cpu peak x-bare failed
paint_ratio() { field startup "$1" 4; }
peak_ratio() { field startup "$1" 7; }
idle_cpu() { field idle "$1" 2; }

cat <<EOF
# Mirelo performance report

$(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo);
load average before the run: $(cut -d' ' -f1-3 /proc/loadavg).
Build: \`$BUILD\` ($(awk -F= '/^CMAKE_BUILD_TYPE:/ { print $2 }' "$BUILD/CMakeCache.txt")),
commit $(commit_line).
Command: \`bench/report.sh $BUILD $RUNS $IDLE\`

## Targets

| Target | Limit | mirelo | mirelo_silent |
|---|---|---|---|
| Start-up to the first painted window, × bare window (median) | ≤ $STARTUP_LIMIT | $(paint_ratio mirelo) $(verdict "$(paint_ratio mirelo)" $STARTUP_LIMIT) | $(paint_ratio mirelo_silent) $(verdict "$(paint_ratio mirelo_silent)" $STARTUP_LIMIT) |
| Peak resident memory to the first paint, × bare window (median) | ≤ $MEMORY_LIMIT | $(peak_ratio mirelo) $(verdict "$(peak_ratio mirelo)" $MEMORY_LIMIT) | $(peak_ratio mirelo_silent) $(verdict "$(peak_ratio mirelo_silent)" $MEMORY_LIMIT) |
| Idle CPU over ${IDLE} s, % of one core | ≤ $IDLE_LIMIT | $(idle_cpu mirelo) $(verdict "$(idle_cpu mirelo)" $IDLE_LIMIT) | $(idle_cpu mirelo_silent) $(verdict "$(idle_cpu mirelo_silent)" $IDLE_LIMIT) |

## Start-up and peak memory

$RUNS runs of each, alternating; launch to the first painted window as the
program reports it (\`MIRELO_FIRST_PAINT_EXIT=1\`), processor time and peak
resident memory from \`wait4\` (\`bench/measure_run\`). Medians; "middle half"
is the range of the middle 50 % of the runs.

| Program | First paint, ms | Middle half, ms | × bare | CPU, ms | Peak RSS, MiB | × bare | Failed runs |
|---|---|---|---|---|---|---|---|
$(awk 'NR > 1 { printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6, $7, $8 }' "$OUT/startup")

## Idle CPU

Each program alone on the screen, ${IDLE} s from 2 s after its start, nobody
touching it; the peak memory is VmHWM at the end, by when the full edition has
also loaded its sound font.

| Program | CPU, % of one core | Peak RSS, MiB |
|---|---|---|
$(awk 'NR > 1 { printf "| %s | %s | %s |\n", $1, $2, $3 }' "$OUT/idle")
EOF

for b in board:"Rules (\`bench/bench_board\`)" display:"Drawing (\`bench/bench_display\`)" \
  audio:"Sound (\`bench/bench_audio\`)"; do
  printf '\n## %s\n\n| Benchmark | Time | CPU | Iterations | Counters |\n|---|---|---|---|---|\n' "${b#*:}"
  awk -F'\t' '
    # A time in the unit that keeps it between 1 and 1000.
    function shown(t, unit) {
      t *= (unit == "ms" ? 1e6 : unit == "us" ? 1e3 : unit == "s" ? 1e9 : 1)
      if (t >= 1e9) return sprintf("%.3g s", t / 1e9)
      if (t >= 1e6) return sprintf("%.3g ms", t / 1e6)
      if (t >= 1e3) return sprintf("%.3g µs", t / 1e3)
      return sprintf("%.3g ns", t)
    }
    { printf "| %s%s | %s | %s | %s | %s%s |\n", $1, ($6 != "" ? " (" $6 ")" : ""), shown($2, $4),
        shown($3, $4), $5, $8, ($7 != "" ? " error: " $7 : "") }' "$OUT/${b%%:*}.rows"
done

# The hot paths: the 10 ms tick and a sound request allocate nothing, and the
# mixer leaves the device most of its period.
row() { grep -m1 "^$2" "$OUT/$1.rows" || true; }
allocs_target() {
  local r v
  r=$(row "$1" "$2")
  v=$(counter "$r" allocs/op)
  printf '| %s: allocations per call | 0 | %s | %s |\n' "$3" "${v:-missing}" \
    "$(awk -v v="$v" 'BEGIN { print (v != "" && v + 0 == 0) ? "pass" : "FAIL" }')"
}
worst_mix=$(grep '^BM_MixPeriod' "$OUT/audio.rows" | while read -r r; do counter "$r" load_%; done | sort -g | tail -1)
mix_allocs=$(grep '^BM_MixPeriod' "$OUT/audio.rows" | while read -r r; do counter "$r" allocs/op; done | sort -g | tail -1)
cat <<EOF

## Benchmark targets

| Hot path | Target | Measured | Result |
|---|---|---|---|
$(allocs_target board BM_IsItFree "Free-tile scan on every tick (IsItFree)")
$(allocs_target audio BM_PlayRequest "Sound request")
$(allocs_target audio BM_MusicStep "Music step of the tick")
| Mixer, worst tune: share of a device period, % | < $MIX_LIMIT | ${worst_mix:-missing} | $(awk -v v="$worst_mix" -v l=$MIX_LIMIT 'BEGIN { print (v != "" && v < l) ? "pass" : "FAIL" }') |
| Mixer: allocations per period | 0 | ${mix_allocs:-missing} | $(awk -v v="$mix_allocs" 'BEGIN { print (v != "" && v + 0 == 0) ? "pass" : "FAIL" }') |
EOF
