#!/usr/bin/env bash
# The performance report, in one run on this machine: start-up to the first
# painted window and peak resident memory of mirelo, mirelo_silent and a bare
# Qt window built the same way (bench/startup.sh), how often each wakes and the
# CPU and memory each uses while nobody touches it, in the states a player
# leaves the game in (bench/idle_cpu.sh), and the Google Benchmark figures of
# the rules, the drawing and the sound. Prints a markdown report with each
# target, the ratios to the bare window and whether the target is met.
# With --idle, only start-up and the idle figures (about seven minutes).
# Run it after the dev build (cmake --preset dev && cmake --build --preset dev),
# on a machine that is otherwise quiet: the figures are wall-clock times.
# Usage: bench/report.sh [--idle] [build-dir] [start-up runs] [idle seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
IDLE_ONLY=0
if [[ ${1:-} == --idle ]]; then
  IDLE_ONLY=1
  shift
fi
BUILD=${1:-build/dev}
RUNS=${2:-30}
IDLE=${3:-30}

# The targets: start-up and peak memory against the bare window, the mixer's
# share of a device period; wake-ups a second of the whole process with a game
# running and with none running (paused, stopped, none dealt); idle CPU at most
# the bare window's with its timer stopped plus a margin, in % of one core; CPU
# while a tune plays; peak memory after the idle watch against the bare window.
STARTUP_LIMIT=1.3
MEMORY_LIMIT=1.5
MIX_LIMIT=10
WAKE_RUNNING_LIMIT=3
WAKE_IDLE_LIMIT=0.5
IDLE_CPU_MARGIN=0.1
TUNE_CPU_LIMIT=3
HWM_SILENT_LIMIT=1.35
HWM_MUSIC_OFF_LIMIT=1.35
HWM_MUSIC_ON_LIMIT=1.55

needed=(app/mirelo app/mirelo_silent bench/bare_window bench/measure_run)
((IDLE_ONLY)) || needed+=(bench/bench_board bench/bench_display bench/bench_audio)
for p in "${needed[@]}"; do
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
echo "Measuring wake-ups, idle CPU and memory (9 cases, $IDLE s each)..." >&2
bench/idle_cpu.sh "$IDLE" "$BUILD" >"$OUT/idle"
if ((!IDLE_ONLY)); then
  echo "Running the benchmarks..." >&2
  "$BUILD/bench/bench_board" --benchmark_format=json >"$OUT/board.json" 2>/dev/null
  "$BUILD/bench/bench_display" --benchmark_format=json >"$OUT/display.json" 2>/dev/null
  "$BUILD/bench/bench_audio" --benchmark_format=json >"$OUT/audio.json" 2>/dev/null
  for b in board display audio; do bench_rows "$OUT/$b.json" >"$OUT/$b.rows"; done
fi

commit_line() {
  local head
  head=$(git rev-parse --short HEAD 2>/dev/null) || { echo unknown; return; }
  git diff --quiet HEAD 2>/dev/null && echo "$head" || echo "$head with local changes"
}
field() { awk -v p="$2" -v c="$3" '$1 == p { print $c }' "$OUT/$1"; }
# startup: program paint middle-half x-bare cpu peak x-bare failed
paint_ratio() { field startup "$1" 4; }
peak_ratio() { field startup "$1" 7; }
# idle: case wakeups/s cpu% peak-MiB heard
wakeups() { field idle "$1" 2; }
idle_cpu() { field idle "$1" 3; }
hwm() { field idle "$1" 4; }
hwm_ratio() { awk -v v="$(hwm "$1")" -v b="$(hwm bare-timer-running)" 'BEGIN { if (v != "" && b > 0) printf "%.2f", v / b }'; }
IDLE_CPU_LIMIT=$(awk -v b="$(idle_cpu bare-timer-stopped)" -v m=$IDLE_CPU_MARGIN 'BEGIN { printf "%.2f", b + m }')
# The game's idle cases, each with the wake-up limit that applies to it.
idle_cases=(silent-running:$WAKE_RUNNING_LIMIT silent-paused:$WAKE_IDLE_LIMIT
  silent-stopped:$WAKE_IDLE_LIMIT silent-no-game:$WAKE_IDLE_LIMIT
  full-music-off-running:$WAKE_RUNNING_LIMIT full-music-off-no-game:$WAKE_IDLE_LIMIT)
TUNE=full-music-on-running
# The tune's figures count only if it was heard.
heard() { [[ $(field idle $TUNE 5) == yes ]] && echo "$1" || echo "$1 (tune not heard)"; }

cat <<EOF
# Mirelo performance report

$(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo);
load average before the run: $(cut -d' ' -f1-3 /proc/loadavg).
Build: \`$BUILD\` ($(awk -F= '/^CMAKE_BUILD_TYPE:/ { print $2 }' "$BUILD/CMakeCache.txt")),
commit $(commit_line).
Command: \`bench/report.sh $( ((IDLE_ONLY)) && echo '--idle ')$BUILD $RUNS $IDLE\`

## Targets

| Target | Limit | mirelo | mirelo_silent |
|---|---|---|---|
| Start-up to the first painted window, × bare window (median) | ≤ $STARTUP_LIMIT | $(paint_ratio mirelo) $(verdict "$(paint_ratio mirelo)" $STARTUP_LIMIT) | $(paint_ratio mirelo_silent) $(verdict "$(paint_ratio mirelo_silent)" $STARTUP_LIMIT) |
| Peak resident memory to the first paint, × bare window (median) | ≤ $MEMORY_LIMIT | $(peak_ratio mirelo) $(verdict "$(peak_ratio mirelo)" $MEMORY_LIMIT) | $(peak_ratio mirelo_silent) $(verdict "$(peak_ratio mirelo_silent)" $MEMORY_LIMIT) |
| Peak memory after ${IDLE} s idle (VmHWM), mirelo with music off, × bare window | ≤ $HWM_MUSIC_OFF_LIMIT (mirelo), ≤ $HWM_SILENT_LIMIT (mirelo_silent) | $(hwm_ratio full-music-off-running) $(verdict "$(hwm_ratio full-music-off-running)" $HWM_MUSIC_OFF_LIMIT) | $(hwm_ratio silent-running) $(verdict "$(hwm_ratio silent-running)" $HWM_SILENT_LIMIT) |
| Peak memory after ${IDLE} s with a tune playing (VmHWM), × bare window | ≤ $HWM_MUSIC_ON_LIMIT | $(heard "$(hwm_ratio $TUNE) $(verdict "$(hwm_ratio $TUNE)" $HWM_MUSIC_ON_LIMIT)") | — |
| CPU while a tune plays, % of one core | ≤ $TUNE_CPU_LIMIT | $(heard "$(idle_cpu $TUNE) $(verdict "$(idle_cpu $TUNE)" $TUNE_CPU_LIMIT)") | — |

Idle, nobody touching the window, over ${IDLE} s: wake-ups of the whole
process a second (≤ $WAKE_RUNNING_LIMIT with a game running, ≤ $WAKE_IDLE_LIMIT
paused, stopped or with no game) and CPU (≤ the bare window's with its timer
stopped + $IDLE_CPU_MARGIN = $IDLE_CPU_LIMIT % of one core).

| Case | Wake-ups a second | Limit | Result | CPU, % of one core | Limit | Result |
|---|---|---|---|---|---|---|
$(for c in "${idle_cases[@]}"; do
  n=${c%%:*} l=${c#*:}
  printf '| %s | %s | ≤ %s | %s | %s | ≤ %s | %s |\n' "$n" "$(wakeups "$n")" "$l" \
    "$(verdict "$(wakeups "$n")" "$l")" "$(idle_cpu "$n")" "$IDLE_CPU_LIMIT" \
    "$(verdict "$(idle_cpu "$n")" "$IDLE_CPU_LIMIT")"
done)

## Start-up and peak memory

$RUNS runs of each, alternating; launch to the first painted window as the
program reports it (\`MIRELO_FIRST_PAINT_EXIT=1\`), processor time and peak
resident memory from \`wait4\` (\`bench/measure_run\`). Medians; "middle half"
is the range of the middle 50 % of the runs.

| Program | First paint, ms | Middle half, ms | × bare | CPU, ms | Peak RSS, MiB | × bare | Failed runs |
|---|---|---|---|---|---|---|---|
$(awk 'NR > 1 { printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6, $7, $8 }' "$OUT/startup")

## Wake-ups, idle CPU and peak memory

Each case alone on the screen with settings of its own, ${IDLE} s from 2 s
after its start (2 s after its keys, where it has some), nobody touching it
(\`bench/idle_cpu.sh\`). Wake-ups: the voluntary and involuntary context
switches of all its threads (\`/proc/PID/task/*/status\`) a second. Peak
memory: VmHWM at the end, and its ratio to the bare window's (timer running).
"paused" and "stopped" pressed Ctrl+P and Ctrl+X; "no game" starts with "Begin
game at startup" off; "music on" starts with "Play music" on and chooses the
first tune of the Music menu, and "heard" says whether the sound device (SDL's
disk driver) played anything but silence.

| Case | Wake-ups a second | × bare (timer running) | CPU, % of one core | Peak RSS, MiB | × bare | Heard |
|---|---|---|---|---|---|---|
$(awk -v bw="$(wakeups bare-timer-running)" -v bk="$(hwm bare-timer-running)" 'NR > 1 {
  printf "| %s | %s | %s | %s | %s | %.2f | %s |\n", $1, $2, (bw > 0 ? sprintf("%.2f", $2 / bw) : "—"), $3, $4, $4 / bk, $5 }' "$OUT/idle")
EOF

((IDLE_ONLY)) && exit 0

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
