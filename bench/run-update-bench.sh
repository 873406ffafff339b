#!/usr/bin/env bash
# Times the full update of this build's package (393 files and the marker)
# by the real program on a demo workstation, and, on the same Wine prefix,
# Wine's own xcopy copying the same files already extracted. Prints both,
# the part of the run spent in the 10 ms waits before each copy, the ratio
# of the rest to xcopy, and the program's peak memory. Measures only: it
# never fails on a time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target quorvex-update demo_walker >/dev/null

prefix=$root/build/win64/bench-prefix
payload=$root/build/win64/package/payload
export WINEPREFIX=$prefix
bash scripts/demo-workstation.sh "$prefix" "$payload" >/dev/null

# The update, walked; no screenshots, so the walker's page signals are
# answered at once and do not weigh on the run's time.
timing=$(mktemp -d)
trap 'rm -rf "$timing"' EXIT
bash scripts/walk-wizard.sh "$prefix" demo_walker.exe quorvex-update.exe "$timing" --no-shots >/dev/null
run_ms=$(tr -d '\r' <"$timing/timing.txt" | awk '/run_ms/ {print $2}')
peak=$(tr -d '\r' <"$timing/timing.txt" | awk '/peak_working_set/ {print $2}')
copies=$(( $(grep -c . "$payload/FileNames.txt") + 1 ))

# xcopy of the same files, extracted beforehand with their time stamps.
src=$prefix/drive_c/bench-src
rm -rf "$src" "$prefix/drive_c/bench-dst"
mkdir -p "$src"
cp -a "$payload/gs" "$payload/images07" "$payload/util" "$src/"
"$root/scripts/wine-run.sh" "$prefix" cmd /c echo >/dev/null 2>&1  # Wine is up
start=$(date +%s%N)
"$root/scripts/wine-run.sh" "$prefix" xcopy 'C:\bench-src' 'C:\bench-dst' /E /I /Y /Q >/dev/null 2>&1
xcopy_ms=$(( ($(date +%s%N) - start) / 1000000 ))

waits_ms=$(( copies * 10 ))
rest_ms=$(( run_ms - waits_ms ))
echo "update run (Démarrer to Quitter): ${run_ms} ms for ${copies} copies"
echo "  of which the 10 ms waits:       ${waits_ms} ms (${copies} x 10 ms)"
echo "  the rest:                       ${rest_ms} ms"
echo "xcopy of the same files:          ${xcopy_ms} ms (Wine start included)"
awk -v r="$rest_ms" -v x="$xcopy_ms" 'BEGIN { printf "ratio rest / xcopy:               %.2f\n", r / x }'
awk -v p="$peak" 'BEGIN { printf "peak working set of the program:  %.1f MiB\n", p / 1048576 }'
