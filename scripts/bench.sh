#!/usr/bin/env bash
# Benchmarks of Quintor under Wine, each taken side by side with its baseline
# in one run on one Wine prefix; writes docs/benchmarks.md (or the file given
# as $1).
#   1 start-up: Quintor and the floor (bench/floor.cpp) started in turn, timed
#     to the window shown and to input idle
#   2 "Start" to the tool's arguments against running the same script directly
#   3 CPU time of Quintor during a 20-second tool run
#   4 lists: 2,000 files dropped on the download list, and a run appended to a
#     history of 10,000 rows, each against the bare list (bench/barelist.cpp)
#   5 size of the release Quintor.exe, its DLLs and its working set after start-up
# The programs it runs are in bench/ (timer, floor, bare list, the X drop) and
# tests/e2e (the driver).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
out="${1:-$root/docs/benchmarks.md}"
source scripts/wine-env.sh
build="${QUINTOR_BENCH_BUILD:-$root/build/bench-$QUINTOR_WIN_ARCH}"
quintor_cmake_win "$build" "$QUINTOR_WIN_ARCH" -DQUINTOR_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target Quintor Dorvik qdriver qtimer qfloor qbarelist >/dev/null
# The X display's side of a drop is a host program.
c++ -std=c++17 -O2 -o "$build/bench/xdrop" bench/xdrop.cpp -lX11
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
column() { awk -v c="$1" '{print $c}'; }
median() { grep -E '^[0-9.]+$' | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
quartile() { grep -E '^[0-9.]+$' | sort -n | awk '{v[NR]=$1} END {print v[int((NR + 3) / 4)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
met() { awk -v r="$1" -v t="$2" 'BEGIN {print (r <= t) ? "yes" : "no"}'; }
loadavg() { cut -d ' ' -f 1-3 /proc/loadavg; }

work="$build/bench/work"
rm -rf "$work"
mkdir -p "$work/images" "$work/drop"
cp "$build/Quintor.exe" "$build/bench/qfloor.exe" "$build/bench/qbarelist.exe" "$work/"
printf 'image\r\n' > "$work/images/dev002.sdl"
work_w="$(wpath "$work")"
tool_w="$(wpath "$build/standins/Dorvik.exe")"
key='SOFTWARE\Microsoft\Quintor'
for hive in HKLM HKCU; do "$QUINTOR_WINE" reg delete "$hive\\$key" /f >/dev/null 2>&1 || true; done
"$QUINTOR_WINE" reg add "HKLM\\$key" /v Dorvik_Path /d "$tool_w" /f >/dev/null
export DORVIK_RECORD="$work_w\\record.txt" DORVIK_RUNLOG="$work_w\\runs.txt"
starts=41
runs=15

echo "1 start-up"
load_start="$(loadavg)"
# One timer process starts both programs in turn, after a round it does not
# count; a line a round: Quintor shown, idle, then the floor's.
timer launchtime $starts "$work_w\\Quintor.exe" "$work_w\\qfloor.exe" > "$work/start.txt"
for c in 1 2 3 4; do
  start_med[$c]="$(column $c < "$work/start.txt" | median)"
  start_q1[$c]="$(column $c < "$work/start.txt" | quartile)"
done

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
for _ in $(seq 1 $runs); do  # in turn, so both see the same machine
  timer runtime Quintor 1016 1017 QuintorBenchStarted 1 >> "$work/quintor-run.txt"
  timer scripttime "$work_w\\run_dorvik.bat" QuintorBenchStarted 1 >> "$work/script-run.txt"
done
quintor_run="$(median < "$work/quintor-run.txt")"
script_run="$(median < "$work/script-run.txt")"
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

echo "4 lists"
load_lists="$(loadavg)"
bare="Quintor list baseline"
# Two sets of 2,000 files of one byte, and their URI lists.
for set in a b; do
  mkdir -p "$work/drop/$set"
  for i in $(seq -w 1 2000); do printf 'x' > "$work/drop/$set/image$set$i.sdl"; done
  for f in "$work/drop/$set"/*.sdl; do printf 'file://%s\r\n' "$f"; done > "$work/drop/$set.uris"
done
# The tool holds until the timer releases it, so the timer can wait on the
# processes Quintor waits on.
export DORVIK_SIGNAL_EVENT=QuintorBenchStarted DORVIK_WAIT_EVENT=QuintorBenchRelease
start_quintor
unset DORVIK_SIGNAL_EVENT DORVIK_WAIT_EVENT
"$QUINTOR_WINE" "$work/qbarelist.exe" >/dev/null 2>&1 &
bare_pid=$!
drv query "$bare" 1017 4100 >/dev/null  # waits for the window
timer fill Quintor 1017 10000
timer fill "$bare" 1017 10000
for _ in $(seq 1 $runs); do
  timer appendtime Quintor 1016 1017 1 QuintorBenchStarted QuintorBenchRelease >> "$work/quintor-append.txt"
  timer appendtime "$bare" 1016 1017 1 >> "$work/bare-append.txt"
done
# The drop's stamp file is shared with the host program through the current folder.
(
  cd "$work"
  for _ in $(seq 1 $runs); do
    for window in Quintor "$bare"; do
      timer droptime "$window" 1019 "$build/bench/xdrop" 1 drop/a.uris >> "$work/$window-drop.txt"
      timer droptime "$window" 1019 "$build/bench/xdrop" 1 drop/a.uris drop/b.uris >> "$work/$window-drop2.txt"
    done
  done
)
stop_quintor
drv close "$bare"
wait "$bare_pid"
quintor_append="$(median < "$work/quintor-append.txt")"
bare_append="$(median < "$work/bare-append.txt")"
quintor_drop="$(median < "$work/Quintor-drop.txt")"
bare_drop="$(median < "$work/$bare-drop.txt")"
quintor_drop2="$(median < "$work/Quintor-drop2.txt")"
bare_drop2="$(median < "$work/$bare-drop2.txt")"

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
Load average from other work on the shared machine (1, 5, 15 min) as the start-up figures were
taken: $load_start; as the list figures were taken: $load_lists.
$hosted
Each figure is taken side by side with its baseline, the two in turn. Times are medians of $runs
repetitions of each unless said otherwise.

| # | Measure | Quintor | Baseline | Ratio / figure | Target | Met |
|---|---|---|---|---|---|---|
| 1 | Start-up: process start to input idle (WaitForInputIdle); median of $starts starts of each | ${start_med[2]} ms | ${start_med[4]} ms (the floor) | $(ratio "${start_med[2]}" "${start_med[4]}") | ≤ 1.10 | $(met "$(ratio "${start_med[2]}" "${start_med[4]}")" 1.10) |
| 1b | Start-up as in 1, the fastest quarter (first quartile) | ${start_q1[2]} ms | ${start_q1[4]} ms | $(ratio "${start_q1[2]}" "${start_q1[4]}") | ≤ 1.10 | $(met "$(ratio "${start_q1[2]}" "${start_q1[4]}")" 1.10) |
| 1c | Start-up: process start to the window shown (visible), the same starts | ${start_med[1]} ms | ${start_med[3]} ms | $(ratio "${start_med[1]}" "${start_med[3]}") | | |
| 2 | Run overhead: "Start" to the stand-in tool holding its arguments | $quintor_run ms | $script_run ms (cmd on the same run_dorvik.bat) | $(ratio "$quintor_run" "$script_run") | ≤ 1.05 | $(met "$(ratio "$quintor_run" "$script_run")" 1.05) |
| 3 | Idle wait: CPU time of Quintor's process during a 20 s tool run | $idle_cpu_s s in $idle_wall_s s | | $idle_pct % of one core | < 1 % | $(awk -v p="$idle_pct" 'BEGIN {print (p < 1) ? "yes" : "no"}') |
| 4a | 2,000 files dropped on the empty download list: the drop to the rows there and the window painted | $quintor_drop ms | $bare_drop ms (the bare list) | $(ratio "$quintor_drop" "$bare_drop") | ≤ 5 | $(met "$(ratio "$quintor_drop" "$bare_drop")" 5) |
| 4b | 2,000 more files dropped on the download list holding 2,000 (each checked against every row), timed as in 4a | $quintor_drop2 ms | $bare_drop2 ms | $(ratio "$quintor_drop2" "$bare_drop2") | ≤ 5 | $(met "$(ratio "$quintor_drop2" "$bare_drop2")" 5) |
| 4c | A run's rows appended to a history of 10,000 rows: the run's end to the rows there and the window painted | $quintor_append ms | $bare_append ms (the bare list, on "Start") | $(ratio "$quintor_append" "$bare_append") | ≤ 2 | $(met "$(ratio "$quintor_append" "$bare_append")" 2) |
| 5a | Size of the release Quintor.exe, i686 product (static, stripped, no runtime DLLs) | $size_product bytes | | | | |
| 5b | Size of Quintor.exe, $QUINTOR_WIN_ARCH build measured here (release, stripped) | $size_tested bytes | | | | |
| 5c | Working set after start-up (GetProcessMemoryInfo) / resident set of the Wine process | $working_set_kib KiB / $rss_kib KiB | | | | |
| 5d | DLLs imported by the i686 product | $dlls_product | | all part of Windows | none else | $(grep -qiv -E '^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|shlwapi|msvcrt|uxtheme|api-ms-win-[a-z0-9-]*)\.dll$' <(tr ' ' '\n' <<<"$dlls_product" | grep .) && echo no || echo yes) |

How each is measured (\`bench/timer.cpp\` says more):
- 1: \`qtimer launchtime\` starts Quintor and the floor in turn from one process inside Wine, after a
  round it does not count, and takes for each start the moment its window is visible (polled every
  1 ms, the window found by its process) and the moment the process first waits for input. The
  floor (\`bench/floor.cpp\`, \`bench/floorwindow.h\`) is Quintor's template, manifest and icon
  with the window's visible set-up: icons, the system-menu entry, both lists' columns and extended
  styles, the download list taking dropped files, centred; nothing of Quintor's logic.
- 2: \`qtimer runtime\` clicks "Start" and waits on a named event the stand-in sets once it has written
  its record; \`qtimer scripttime\` starts \`cmd.exe /d /v:off /s /c "run_dorvik.bat"\` as Quintor does,
  with the same event.
- 3: utime + stime of Quintor's Wine process from /proc, over a run of the stand-in sleeping 20 s.
- 4: the real Quintor.exe and the bare list (\`bench/barelist.cpp\`: the floor's window whose lists
  do the same visible work with the plain API) run side by side and are timed in turn from outside.
  The drops come from the X display (\`bench/xdrop.cpp\` speaks the XDND protocol, as a file manager
  does; Wine hands them to the list as WM_DROPFILES, see "Drops under Wine" below); each is timed
  from the drop to the list answering a message with the rows there (a window answers only between
  its handlers) and a redraw of the window from outside having returned (its thread paints what is
  pending). Before each drop (4a) or pair of drops (4b) the timer empties the list. For the history
  (4c), \`qtimer fill\` appends 10,000 rows to each history list through the list's messages;
  Quintor's "Start" runs the stand-in tool, which holds until the timer has opened the processes
  Quintor waits on, and the time runs from their end; the bare list appends four rows on "Start",
  the time running from the command posted.
MD
[ -z "$notes" ] || printf '\n%s\n' "$notes" >> "$out"
echo "written $out"
