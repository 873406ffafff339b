#!/usr/bin/env bash
# Makes the Wine prefix of a build tree once: wine-prefix.sh PREFIX
set -euo pipefail
prefix=$1
[ -f "$prefix/.qv-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.qv-ready" ] && exit 0
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
# wineboot may want a display for its progress window; it does not need one.
DISPLAY= wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
[ -f "$prefix/system.reg" ] || { echo "wine-prefix: could not create $prefix" >&2; exit 1; }
touch "$prefix/.qv-ready"
