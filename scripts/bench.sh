#!/usr/bin/env bash
# Benchmarks of Quintor under Wine, each as a ratio or a figure from one run
# on one Wine prefix; writes docs/benchmarks.md (or the file given as $1).
#   1 start-up against the floor: Quintor's main window with no logic (bench/floor.cpp)
#   2 "Start" to the tool's arguments against running the same script directly
#   3 CPU time of Quintor during a 20-second tool run
#   4 scale: Insert of 2,000 files into 2,000 rows; a run appended to 10,000 runs
#   5 size of Quintor.exe, its DLLs and its working set after start-up
# The programs it runs are in bench/ (timer, floor, scale) and tests/e2e (the driver).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
out="${1:-$root/docs/benchmarks.md}"
source scripts/wine-env.sh
build="${QUINTOR_BENCH_BUILD:-$root/build/bench-$QUINTOR_WIN_ARCH}"
quintor_cmake_win "$build" "$QUINTOR_WIN_ARCH" -DQUINTOR_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target Quintor Dorvik qdriver qtimer qfloor qbench_scale >/dev/null
product="${QUINTOR_BENCH_PRODUCT:-$root/build/bench-i686}"
if [ "$QUINTOR_WIN_ARCH" != i686 ]; then
  quintor_cmake_win "$product" i686 -DQUINTOR_TESTS=OFF >/dev/null
  cmake --build "$product" -j2 --target Quintor >/dev/null
fi
quintor_start_display
trap quintor_stop EXIT
quintor_prepare_prefix
"$QUINTOR_WINESERVER" -p 2>/dev/null || true  # one server for every measurement

drv() { "$QUINTOR_WINE" "$build/e2e/qdriver.exe" "$@"; }
timer() { "$QUINTOR_WINE" "$build/bench/qtimer.exe" "$@"; }
wpath() { "$QUINTOR_WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
median() { grep -E '^[0-9.]+$' | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
quartile() { grep -E '^[0-9.]+$' | sort -n | awk '{v[NR]=$1} END {print v[int((NR + 3) / 4)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

work="$build/bench/work"
rm -rf "$work"
mkdir -p "$work/images"
cp "$build/Quintor.exe" "$build/bench/qfloor.exe" "$work/"
printf 'image\r\n' > "$work/images/dev002.sdl"
work_w="$(wpath "$work")"
tool_w="$(wpath "$build/standins/Dorvik.exe")"
key='SOFTWARE\Microsoft\Quintor'
for root in HKLM HKCU; do "$QUINTOR_WINE" reg delete "$root\\$key" /f >/dev/null 2>&1 || true; done
"$QUINTOR_WINE" reg add "HKLM\\$key" /v Dorvik_Path /d "$tool_w" /f >/dev/null
export DORVIK_RECORD="$work_w\\record.txt" DORVIK_RUNLOG="$work_w\\runs.txt"
starts=41

echo "1 start-up"
load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
# Both programs once first, so neither pays for the first load of the system
# DLLs; then one start of each in turn, so both see the same machine.
start_time() { timer launchtime "$work_w\\$1" "$2" 1; }
start_time Quintor.exe 1001 >/dev/null
start_time qfloor.exe 1016 >/dev/null
for _ in $(seq 1 $starts); do
  start_time Quintor.exe 1001 >> "$work/quintor-start.txt"
  start_time qfloor.exe 1016 >> "$work/floor-start.txt"
done
quintor_start="$(median < "$work/quintor-start.txt")"
floor_start="$(median < "$work/floor-start.txt")"
quintor_start_q1="$(quartile < "$work/quintor-start.txt")"
floor_start_q1="$(quartile < "$work/floor-start.txt")"
runs=15

echo "2 run overhead"
start_quintor() {
  "$QUINTOR_WINE" "$work/Quintor.exe" >/dev/null 2>&1 &
  quintor_pid=$!
  drv waittext Quintor 1001 "$tool_w"
  drv command Quintor 32771
  drv filedialog "$work_w\\images\\dev002.sdl"
  drv key Quintor 1019 32  # Space ticks the inserted row, which has the focus
}
stop_quintor() {
  drv close Quintor
  wait "$quintor_pid"
}
export DORVIK_SIGNAL_EVENT=QuintorBenchStarted
start_quintor
quintor_run="$(timer runtime Quintor 1016 1017 QuintorBenchStarted $runs | median)"
script_run="$(timer scripttime "$work_w\\run_dorvik.bat" QuintorBenchStarted $runs | median)"
unset DORVIK_SIGNAL_EVENT

echo "3 idle wait during a 20-second run"
cpu_ticks() { awk '{print $14 + $15}' "/proc/$quintor_pid/stat"; }
export DORVIK_SLEEP_MS=20000
stop_quintor
start_quintor
before=$(cpu_ticks)
t0=$(date +%s.%N)
drv click Quintor 1016  # returns once the run has ended
t1=$(date +%s.%N)
after=$(cpu_ticks)
hz=$(getconf CLK_TCK)
idle_cpu_s=$(awk -v a="$before" -v b="$after" -v hz="$hz" 'BEGIN {printf "%.2f", (b - a) / hz}')
idle_wall_s=$(awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.1f", b - a}')
idle_pct=$(awk -v c="$idle_cpu_s" -v w="$idle_wall_s" 'BEGIN {printf "%.2f", 100 * c / w}')
unset DORVIK_SLEEP_MS

echo "5 size"
working_set_kib="$(timer memory Quintor || echo n/a)"
rss_kib="$(awk '/^VmRSS/ {print $2}' "/proc/$quintor_pid/status")"
stop_quintor
objdump_for() { case "$1" in i686) echo i686-w64-mingw32-objdump ;; *) echo x86_64-w64-mingw32-objdump ;; esac; }
dlls() { "$(objdump_for "$2")" -p "$1" | sed -n 's/^\s*DLL Name: //p' | sort -u | tr '\n' ' '; }
size_product=$(stat -c %s "$product/Quintor.exe" 2>/dev/null || stat -c %s "$build/Quintor.exe")
size_tested=$(stat -c %s "$build/Quintor.exe")
dlls_product="$(dlls "$product/Quintor.exe" i686 2>/dev/null || true)"

echo "4 scale"
scale_runs="${QUINTOR_BENCH_SCALE_RUNS:-3}"
scale="$("$QUINTOR_WINE" "$build/bench/qbench_scale.exe" "$scale_runs" | tr -d '\r')"
insert_ms="$(sed -n 's/^insert //p' <<<"$scale" | tr ' ' '\n' | median)"
history_ms="$(sed -n 's/^history //p' <<<"$scale" | tr ' ' '\n' | median)"

if [ "$QUINTOR_WIN_ARCH" = i686 ]; then
  hosted="Every timing is of the i686 product under 32-bit Wine."
else
  hosted="This host cannot run 32-bit programs, so every timing is of the $QUINTOR_WIN_ARCH build of
the same sources under 64-bit Wine (the product is the i686 build; its size is given below too)."
fi
cpu_model="$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)"
wine_version="$("$QUINTOR_WINE" --version | tr -d '\r')"
mkdir -p "$(dirname "$out")"
# The notes under the table (from its first "## " heading on) are kept.
notes="$(sed -n '/^## /,$p' "$out" 2>/dev/null || true)"
cat > "$out" <<MD
# Benchmarks

Measured by \`scripts/bench.sh\` in one run on one Wine prefix, $(date -u +%Y-%m-%d).
Machine: $(nproc) cores, $cpu_model, $wine_version, Xvfb.
Load average from other work on the shared machine as the start-up figures were taken: $load (1, 5, 15 min).
$hosted
Times are medians of $runs repetitions unless said otherwise.

| # | Measure | Quintor | Baseline | Ratio / figure | Target | Met |
|---|---|---|---|---|---|---|
| 1 | Start-up: process start to the main window shown with settings loaded (tool path shown); median of $starts starts of each, taken in turn | $quintor_start ms | $floor_start ms (the floor: Quintor's window with no logic) | $(ratio "$quintor_start" "$floor_start") | ≤ 1.15 | $(awk -v r="$(ratio "$quintor_start" "$floor_start")" 'BEGIN {print (r <= 1.15) ? "yes" : "no"}') |
| 1b | Start-up as in 1, the fastest quarter of the starts (the least disturbed by other work on the machine): first quartile | $quintor_start_q1 ms | $floor_start_q1 ms | $(ratio "$quintor_start_q1" "$floor_start_q1") | ≤ 1.15 | $(awk -v r="$(ratio "$quintor_start_q1" "$floor_start_q1")" 'BEGIN {print (r <= 1.15) ? "yes" : "no"}') |
| 2 | Run overhead: "Start" to the stand-in tool holding its arguments | $quintor_run ms | $script_run ms (cmd on the same run_dorvik.bat) | $(ratio "$quintor_run" "$script_run") | ≤ 1.05 | $(awk -v r="$(ratio "$quintor_run" "$script_run")" 'BEGIN {print (r <= 1.05) ? "yes" : "no"}') |
| 3 | Idle wait: CPU time of Quintor's process during a 20 s tool run | $idle_cpu_s s in $idle_wall_s s | | $idle_pct % of one core | < 1 % | $(awk -v p="$idle_pct" 'BEGIN {print (p < 1) ? "yes" : "no"}') |
| 4a | Scale: one "Insert" of 2,000 files into 2,000 rows (every path compared with every row), repainted | $insert_ms ms | | median of $scale_runs | < 1000 ms | $(awk -v m="$insert_ms" 'BEGIN {print (m < 1000) ? "yes" : "no"}') |
| 4b | Scale: one "Start" appending its rows to a history of 10,000 runs (tool start stubbed), repainted | $history_ms ms | | median of $scale_runs | < 16 ms | $(awk -v m="$history_ms" 'BEGIN {print (m < 16) ? "yes" : "no"}') |
| 5a | Size of Quintor.exe, i686 product (static, no runtime DLLs) | $size_product bytes | | | | |
| 5b | Size of Quintor.exe, $QUINTOR_WIN_ARCH build measured here | $size_tested bytes | | | | |
| 5c | Working set after start-up (GetProcessMemoryInfo) / resident set of the Wine process | $working_set_kib KiB / $rss_kib KiB | | | | |
| 5d | DLLs imported by the i686 product | $dlls_product | | all part of Windows | none else | $(grep -qiv -E '^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|shlwapi|msvcrt|uxtheme|api-ms-win-[a-z0-9-]*)\.dll$' <(tr ' ' '\n' <<<"$dlls_product" | grep .) && echo no || echo yes) |

How each is measured:
- 1: \`qtimer launchtime\` starts the program from inside Wine and polls (1 ms) until its window is
  visible (found by its process, so nothing is asked of the program while it starts) and a control
  answers with its text: for Quintor the stored tool path, for the floor the "Start" button's caption,
  so both are timed to the same point, the window shown and taking messages. The floor (\`bench/floor.cpp\`) is
  built from Quintor's own resources (main-window template, manifest, icon) with its common-controls
  set-up; its dialog procedure only accepts the initialisation and lets the window close.
- 2: \`qtimer runtime\` clicks "Start" and waits on a named event the stand-in sets once it has written
  its record; \`qtimer scripttime\` starts \`cmd.exe /d /v:off /s /c "run_dorvik.bat"\` as Quintor does,
  with the same event.
- 3: utime + stime of Quintor's Wine process from /proc, over a run of the stand-in sleeping 20 s.
- 4: \`qbench_scale\` (\`bench/scale.cpp\`) drives the real main window in-process, with the OS services and file dialog doubled,
  so the figures are Quintor's own work and not the file dialog's or cmd's.
MD
[ -z "$notes" ] || printf '\n%s\n' "$notes" >> "$out"
echo "written $out"
cat "$out"
