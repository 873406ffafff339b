#!/usr/bin/env bash
# Times, in one run on one demo workstation, the update of this build's
# package (393 files and the marker) three ways: /VERYSILENT
# /SUPPRESSMSGBOXES (the whole process, Wine's start included), the wizard
# walked from Démarrer to Quitter, and Wine's xcopy of the same files
# already extracted (Wine's start included). Prints the figures and the
# start of an idle Wine process, to weigh them. Measures only: it never
# fails on a time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target quorvex-update demo_walker demo_workstation >/dev/null

prefix=$root/build/win64/bench-unattended-prefix
payload=$root/build/win64/package/payload
bin=$root/build/win64/bin
export WINEPREFIX=$prefix
copies=$(( $(grep -c . "$payload/FileNames.txt") + 1 ))
ms_since() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

bash scripts/demo/workstation.sh make "$prefix" "$payload" >/dev/null
"$root/scripts/env/wine-run.sh" "$prefix" cmd /c echo >/dev/null 2>&1  # Wine is up
start=$(date +%s%N)
"$root/scripts/env/wine-run.sh" "$prefix" cmd /c echo >/dev/null 2>&1
idle_ms=$(ms_since "$start")

# /VERYSILENT, no display at all.
log=$prefix/drive_c/bench-update.log
start=$(date +%s%N)
status=0
(cd "$bin" && env -u DISPLAY QV_USE_DISPLAY=1 "$root/scripts/env/wine-run.sh" "$prefix" \
    quorvex-update.exe /VERYSILENT /SUPPRESSMSGBOXES '/LOG=C:\bench-update.log') \
    >/dev/null 2>&1 || status=$?
silent_ms=$(ms_since "$start")
WINEPREFIX=$prefix wineserver -w  # its desktop had no display: the wizard needs another
result=$(tail -c 200 "$log" | tr -d '\r' | grep . | tail -n 1)

# The wizard, walked; no screenshots.
bash scripts/demo/workstation.sh make "$prefix" "$payload" >/dev/null
timing=$(mktemp -d)
trap 'rm -rf "$timing"' EXIT
bash scripts/demo/walk-wizard.sh "$prefix" demo_walker.exe quorvex-update.exe "$timing" --no-shots >/dev/null
run_ms=$(tr -d '\r' <"$timing/timing.txt" | awk '/run_ms/ {print $2}')

# xcopy of the same files, extracted beforehand with their time stamps.
src=$prefix/drive_c/bench-src
rm -rf "$src" "$prefix/drive_c/bench-dst"
mkdir -p "$src"
cp -a "$payload/gs" "$payload/images07" "$payload/util" "$src/"
start=$(date +%s%N)
"$root/scripts/env/wine-run.sh" "$prefix" xcopy 'C:\bench-src' 'C:\bench-dst' /E /I /Y /Q >/dev/null 2>&1
xcopy_ms=$(ms_since "$start")

echo "files copied by each:                  ${copies}"
echo "idle Wine process (start and end):     ${idle_ms} ms"
echo "/VERYSILENT /SUPPRESSMSGBOXES process: ${silent_ms} ms (exit code ${status}: ${result})"
echo "wizard run, Démarrer to Quitter:       ${run_ms} ms (its ${copies} x 10 ms paint waits included)"
echo "xcopy of the same files:               ${xcopy_ms} ms"
awk -v s="$silent_ms" -v w="$run_ms" -v x="$xcopy_ms" 'BEGIN {
  printf "ratio /VERYSILENT / wizard run:        %.2f\n", s / w
  printf "ratio /VERYSILENT / xcopy:             %.2f\n", s / x }'
