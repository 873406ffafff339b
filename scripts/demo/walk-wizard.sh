#!/usr/bin/env bash
# Runs a walker program (a driver of the wizard from tools/demo, built in
# build/win64/bin) in a Wine desktop on the prefix's Xvfb display, and takes
# a screenshot each time the walker signals a page.
#   walk-wizard.sh PREFIX WALKER PROGRAM OUT_FOLDER [--no-shots]
# The walker is started as WALKER SIGNALS PROGRAM, SIGNALS being a folder
# for its "ready-<name>" / "done-<name>" handshake; the PNGs and any .txt
# file the walker leaves there end up in OUT_FOLDER. The exit code is the
# walker's.
set -euo pipefail
prefix=$1 walker=$2 program=$3 out=$4 shots=${5:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$root/build/win64/bin
desktop=1024x700
mkdir -p "$out"

"$root/scripts/env/wine-prefix.sh" "$prefix"
display=$("$root/scripts/env/wine-display.sh" "$prefix")
signals=$(mktemp -d "$bin/walk.XXXXXX")
trap 'rm -rf "$signals"' EXIT

(cd "$bin" && exec "$root/scripts/env/wine-run.sh" "$prefix" explorer /desktop=walk,$desktop \
    "$walker" "$(basename "$signals")" "$program") &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  for ready in "$signals"/ready-*; do
    [ -e "$ready" ] || continue
    name=${ready##*/ready-}
    if [ "$shots" != --no-shots ]; then
      import -display "$display" -window root -crop "$desktop+0+0" +repage "$out/$name.png"
      echo "walk: $out/$name.png"
    fi
    rm -f "$ready"
    touch "$signals/done-$name"
  done
  sleep 0.1
done
status=0
wait "$pid" || status=$?
WINEPREFIX=$prefix wineserver -w
for f in "$signals"/*.txt; do
  [ -e "$f" ] && cp "$f" "$out/"
done
exit "$status"
