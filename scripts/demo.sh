#!/usr/bin/env bash
# Sets up, builds the Windows program and runs it on a demo workstation: a
# Quorvex Finance installation in C:\Quorvex5 of a Wine prefix of its own
# (build/win64/demo-prefix), older than this build's package.
#
# With a display, the wizard opens there for you. Without one, it runs
# under Xvfb and is walked as a person would (Suivant, Démarrer, Yes to any
# question); the report is printed here and a screenshot of each page is
# left in build/win64/demo-screenshots/.
#
#   bash scripts/demo.sh            reset the workstation, then update it
#   bash scripts/demo.sh --again    update it again without resetting: the
#                                   wizard then asks the "à jour" question
#   bash scripts/demo.sh --kind 4|7 [--again]
#                                   Kalvisto (4) or Margolin (7) instead, on a
#                                   workstation of their own (scripts/demo/kind.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = --kind ]; then
  shift
  exec bash scripts/demo/kind.sh "$@"
fi

bash scripts/env/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target quorvex-update demo_walker demo_workstation

bin=$root/build/win64/bin
prefix=$root/build/win64/demo-prefix
payload=$root/build/win64/package/payload
shots=$root/build/win64/demo-screenshots
export WINEPREFIX=$prefix

if [ "${1:-}" != --again ]; then
  bash scripts/demo/workstation.sh make "$prefix" "$payload"
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "demo: the wizard opens on $DISPLAY"
  opened_on_display=1
  (cd "$bin" && QV_USE_DISPLAY=1 "$root/scripts/env/wine-run.sh" "$prefix" quorvex-update.exe) || true
else
  bash scripts/demo/walk.sh "$prefix" quorvex-update.exe "$shots" || walk_ok=0
fi
WINEPREFIX=$prefix wineserver -w

# What the update left behind (the check every demo shares), and, walked,
# the report's result line; run by the person, the run is judged by what
# it left behind alone.
bash scripts/demo/workstation.sh check "$prefix" "$payload" || problems=1
[ "${walk_ok:-1}" -eq 1 ] && [ "${problems:-0}" -eq 0 ]
