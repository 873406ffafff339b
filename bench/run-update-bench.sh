#!/usr/bin/env bash
# Times the full update of this build's package (393 files and the marker)
# by the real program on a demo workstation, and, on the same Wine prefix in
# the same run, Wine's own xcopy copying the same files already extracted.
# Prints the four figures of the performance goals and where the run's time
# goes, as the program itself measured it (QV_TIMINGS_FILE, see
# src/core/RunTimings.h). Measures only: it never fails on a time.
#
#   bash bench/run-update-bench.sh [RUNS] [PROGRAM] [BUILD]
#
# RUNS (3 by default) whole updates, each on a freshly reset workstation;
# the figures of each run and their median are printed. BUILD is win32 (the
# release, what users run; the default) or win64. PROGRAM is an executable
# in that build's bin folder (quorvex-update.exe by default), so that an
# older build kept there under another name can be measured in the same
# sitting. The machine's load is printed too: on a shared machine the
# figures move with it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-3}
program=${2:-quorvex-update.exe}
build=${3:-win32}
case $build in win32 | win64) ;; *) echo "bench: BUILD is win32 or win64, not $build" >&2; exit 2 ;; esac
# The walker and the payload come from the win64 build; the program, the
# bare window and the start-up and Delay benches from the build measured.
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target quorvex-update demo_walker demo_workstation >/dev/null
cmake --preset "$build" >/dev/null
cmake --build --preset "$build" --target quorvex-update bench_delay_cpu bench_bare_window \
  bench_bare_window_libraries bench_startup >/dev/null

bin=$root/build/$build/bin
# The walker starts the program by a path relative to its own folder.
walked=$program
[ "$build" = win64 ] || walked="..\\..\\$build\\bin\\$program"
prefix=$root/build/win64/bench-prefix
payload=$root/build/win64/package/payload
export WINEPREFIX=$prefix
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

copies=$(( $(grep -c . "$payload/FileNames.txt") + 1 ))
largest=$(find "$payload" -type f -printf '%s\n' | sort -n | tail -n 1)
echo "bench: $build/bin/$program, $copies copies, largest payload $(awk -v b="$largest" 'BEGIN { printf "%.1f MB", b / 1e6 }'); load average $(cut -d' ' -f1-3 /proc/loadavg)"

# The files xcopy copies: the payload, extracted beforehand with its times.
src=$prefix/drive_c/bench-src
"$root/scripts/env/wine-prefix.sh" "$prefix"
rm -rf "$src"
mkdir -p "$src"
cp -a "$payload/gs" "$payload/images07" "$payload/util" "$src/"

ms_since() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }
value() { tr -d '\r' <"$1" | awk -v k="$2" '$1 == k { print $NF; found = 1 } END { if (!found) print 0 }'; }
count() { tr -d '\r' <"$1" | awk -v k="$2" '$1 == k { print $2; found = 1 } END { if (!found) print 0 }'; }

for run in $(seq 1 "$runs"); do
  bash scripts/demo/workstation.sh make "$prefix" "$payload" >/dev/null
  out=$work/run$run
  mkdir -p "$out"
  rm -f "$prefix/drive_c/bench-timings.txt"
  # The walk; no screenshots, so the walker's page signals are answered at
  # once and do not weigh on the run's time.
  QV_TIMINGS_FILE='C:\bench-timings.txt' \
    bash scripts/demo/walk-wizard.sh "$prefix" demo_walker.exe "$walked" "$out" --no-shots >/dev/null
  cp "$prefix/drive_c/bench-timings.txt" "$out/timings.txt" 2>/dev/null || : >"$out/timings.txt"
  result=$(iconv -f CP1252 -t UTF-8 "$out/report.txt" | tr -d '\r' | sed '/^$/d' | tail -n 1)

  # Wine's xcopy, then a Wine program that does nothing (cmd /c exit), so
  # that the start of a Wine process can be told apart from the copy.
  rm -rf "$prefix/drive_c/bench-dst"
  "$root/scripts/env/wine-run.sh" "$prefix" cmd /c exit >/dev/null 2>&1  # Wine is up
  start=$(date +%s%N)
  "$root/scripts/env/wine-run.sh" "$prefix" xcopy 'C:\bench-src' 'C:\bench-dst' /E /I /Y /Q >/dev/null 2>&1
  xcopy_ms=$(ms_since "$start")
  start=$(date +%s%N)
  "$root/scripts/env/wine-run.sh" "$prefix" cmd /c exit >/dev/null 2>&1
  nothing_ms=$(ms_since "$start")

  run_ms=$(value "$out/timing.txt" run_ms)
  {
    echo "run_ms $run_ms"
    echo "program_run_ms $(value "$out/timings.txt" run)"
    echo "waits_ms $(value "$out/timings.txt" wait)"
    echo "xcopy_ms $xcopy_ms"
    echo "wine_start_ms $nothing_ms"
    echo "peak $(value "$out/timing.txt" peak_working_set)"
    echo "welcome $(value "$out/timing.txt" welcome_working_set)"
    tr -d '\r' <"$out/timings.txt"
  } >"$out/figures.txt"
  echo "run $run: $run_ms ms, waits $(value "$out/timings.txt" wait) ms, xcopy $xcopy_ms ms (a Wine program doing nothing: $nothing_ms ms); report ends: $result"
done

# The median of each figure over the runs.
median() {
  for run in $(seq 1 "$runs"); do value "$work/run$run/figures.txt" "$1"; done |
    sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
run_ms=$(median run_ms)
waits=$(median waits_ms)
xcopy=$(median xcopy_ms)
wine_start=$(median wine_start_ms)
peak=$(median peak)
welcome=$(median welcome)

# What the waits ask for: their requested lengths times their counts. What
# the run takes beyond that is the program's own work, whether done inside
# a wait or not.
asked=$(tr -d '\r' <"$work/run1/figures.txt" |
  awk '$1 ~ /^wait\.[0-9]+ms$/ { n = $1; gsub(/[^0-9]/, "", n); t += n * $2 } END { print t + 0 }')

echo
echo "== Medians of $runs runs =="
awk -v run="$run_ms" -v waits="$waits" -v x="$xcopy" -v s="$wine_start" -v asked="$asked" 'BEGIN {
  rest = run - waits
  printf "update run (Démarrer to Quitter, seen by the walker)  %8.0f ms\n", run
  printf "  measured waits (Delay, inside the program)           %8.0f ms\n", waits
  printf "  the run without the waits                             %8.0f ms\n", rest
  printf "xcopy of the same files                                 %8.0f ms (%.0f ms without starting a Wine process)\n", x, x - s
  printf "GOAL 1  run without waits / xcopy                       %8.2f (%.2f against xcopy without its start; goal <= 1.5)\n", rest / x, (x - s > 0 ? rest / (x - s) : 0)
  printf "        the run beyond what its waits ask for (%.0f ms)  %8.0f ms, %.2f x xcopy\n", asked, run - asked, (run - asked) / x
}'
awk -v p="$peak" -v w="$welcome" -v l="$largest" 'BEGIN {
  m = 1048576
  printf "GOAL 2  peak working set                                %8.1f MiB (welcome page %.1f MiB + 2 x largest payload %.1f MiB = %.1f MiB)\n", p / m, w / m, 2 * l / m, (w + 2 * l) / m
}'

# What each figure the program writes stands for.
label() {
  case $1 in
    run) echo "the run, measured by the program" ;;
    wait) echo "waits (Delay)" ;;
    wait.100ms) echo "  of which the 100 ms wait before the procedure" ;;
    wait.10ms) echo "  of which the 10 ms waits before each copy" ;;
    wait.dispatch) echo "  of which handling messages during the waits" ;;
    wait.paint) echo "    of which painting (WM_PAINT)" ;;
    stage.report_append) echo "    of which putting the held report lines in the viewer" ;;
    stage.report_line) echo "writing report lines (held for the viewer at the waits)" ;;
    stage.inflating) echo "inflating (with making and closing the temp files)" ;;
    stage.writing_temp) echo "writing the temporary files' bytes" ;;
    stage.stamping) echo "time stamps of the temporary files" ;;
    stage.temp_name) echo "drawing temporary names" ;;
    stage.comparing) echo "comparing the markers" ;;
    stage.attributes) echo "attribute resets around each copy" ;;
    stage.copy) echo "CopyFile" ;;
    startup.loading) echo "process created to the program's first instruction" ;;
    startup.services) echo "common controls, services, engine" ;;
    startup.windows) echo "creating the main window and the three pages" ;;
    startup.showing) echo "showing the main window, reading the package" ;;
    startup.welcome) echo "process created to the welcome page (with its 10 ms timer)" ;;
  esac
}

# Where the time goes: the per-stage totals of the program (median of each).
echo
echo "== Where the run's time goes (program's own measures, medians) =="
stages="run wait wait.100ms wait.10ms wait.dispatch wait.paint stage.report_append stage.report_line stage.inflating stage.writing_temp stage.stamping stage.temp_name stage.comparing stage.attributes stage.copy"
for stage in $stages; do
  printf '%-56s %8.0f ms  (%s calls)\n' "$(label "$stage")" "$(median "$stage")" \
    "$(count "$work/run1/figures.txt" "$stage")"
done
measured=0
for stage in wait stage.report_line stage.inflating stage.writing_temp stage.stamping stage.temp_name stage.comparing stage.attributes stage.copy; do
  measured=$(awk -v a="$measured" -v b="$(median "$stage")" 'BEGIN { print a + b }')
done
awk -v r="$(median run)" -v m="$measured" 'BEGIN { printf "%-56s %8.0f ms\n", "the rest of the run (not in a stage above)", r - m }'

echo
echo "== Start-up (same Wine, same prefix, started in turn) =="
(cd "$bin" && "$root/scripts/env/wine-run.sh" "$prefix" bench_startup.exe "$program" bench_bare_window.exe 5 \
  bench_bare_window_libraries.exe) |
  tr -d '\r' | sed 's/^/GOAL 3  /;2,$s/^GOAL 3  /        /'
echo "Where the start of the walked runs goes (program's own measures, medians):"
for stage in startup.loading startup.services startup.windows startup.showing startup.welcome; do
  printf '  %-62s %6.0f ms\n' "$(label "$stage")" "$(median "$stage")"
done
echo
echo "== Delay's processor time =="
(cd "$bin" && "$root/scripts/env/wine-run.sh" "$prefix" bench_delay_cpu.exe) | tr -d '\r' |
  sed 's/^/GOAL 4  /;2,$s/^GOAL 4  /        /'
WINEPREFIX=$prefix wineserver -w
