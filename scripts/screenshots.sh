#!/usr/bin/env bash
# Takes a PNG of each page of the wizard, in a Wine desktop window on the
# Xvfb display of a prefix of its own, so that the title bar and frame are
# drawn as on Windows.
#   scripts/screenshots.sh [OUTPUT_FOLDER] [PROGRAM]
# Default output: build/win64/screenshots/. PROGRAM is an .exe of
# build/win64/bin (default quorvex-update.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-$root/build/win64/screenshots}
program=${2:-quorvex-update-empty.exe}
mkdir -p "$out"
out=$(cd "$out" && pwd)

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target wizard_shots >/dev/null

bin=$root/build/win64/bin
prefix=$root/build/win64/wineprefix-shots
desktop=1024x700
signals=$(mktemp -d "$bin/shots.XXXXXX")
trap 'rm -rf "$signals"' EXIT

"$root/scripts/wine-prefix.sh" "$prefix"
display=$("$root/scripts/wine-display.sh" "$prefix")

# The walker signals each page; import takes it, then the walker goes on.
cd "$bin"
"$root/scripts/wine-run.sh" "$prefix" explorer /desktop=shots,$desktop \
    wizard_shots.exe "$(basename "$signals")" "$program" &
walker=$!
shots=0
while kill -0 "$walker" 2>/dev/null; do
  for ready in "$signals"/ready-*; do
    [ -e "$ready" ] || continue
    name=${ready##*/ready-}
    import -display "$display" -window root -crop "$desktop+0+0" +repage "$out/$name.png"
    echo "screenshots: $out/$name.png"
    rm -f "$ready"
    touch "$signals/done-$name"
    shots=$((shots + 1))
  done
  sleep 0.2
done
wait "$walker" || { echo "screenshots: the wizard walk failed" >&2; exit 1; }
[ "$shots" -ge 4 ] || { echo "screenshots: only $shots pictures" >&2; exit 1; }
