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
#                                   workstation of their own (scripts/demo-kind.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = --kind ]; then
  shift
  exec bash scripts/demo-kind.sh "$@"
fi

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target quorvex-update demo_walker

bin=$root/build/win64/bin
prefix=$root/build/win64/demo-prefix
payload=$root/build/win64/package/payload
shots=$root/build/win64/demo-screenshots
export WINEPREFIX=$prefix

if [ "${1:-}" != --again ]; then
  bash scripts/demo-workstation.sh "$prefix" "$payload"
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "demo: the wizard opens on $DISPLAY"
  opened_on_display=1
  (cd "$bin" && QV_USE_DISPLAY=1 "$root/scripts/wine-run.sh" "$prefix" quorvex-update.exe) || true
else
  bash scripts/demo-walk.sh "$prefix" quorvex-update.exe "$shots"
fi
WINEPREFIX=$prefix wineserver -w

# What the update left behind.
problems=0
suite=$prefix/drive_c/Quorvex5
while IFS= read -r line; do
  line=${line%$'\r'}
  [ -n "$line" ] || continue
  rel=${line//\\//}
  installed=$(find "$suite" -ipath "$suite/$rel" | head -n 1)
  if [ -z "$installed" ] || ! cmp -s "$payload/$rel" "$installed" ||
     [ "$(stat -c %.7Y "$payload/$rel")" != "$(stat -c %.7Y "$installed")" ]; then
    echo "demo: not updated: $line" >&2
    problems=$((problems + 1))
  fi
done < <(cat "$payload/FileNames.txt"; printf '\ngs\\GS-00.int\n')
# Walked, the run succeeded only if the report's result line says so; run
# by the person, it is judged by what it left behind.
result_ok=1
if [ -z "${opened_on_display:-}" ]; then
  last=$(iconv -f CP1252 -t UTF-8 "$shots/report.txt" 2>/dev/null | tr -d '\r' | sed '/^$/d' | tail -n 1 || true)
  echo "demo: result: ${last:-no report}"
  [ "$last" = "La mise à jour est terminée avec succès." ] || result_ok=0
fi
record=$(grep -A3 'QUORVEX S.A.\\\\Quorvex Finance\\\\Program' "$prefix/user.reg" | grep '"Filename"' || true)
leftovers=$(find "$prefix/drive_c/users" -path '*/Temp/Update*.tmp' | wc -l)
echo "demo: files differing from the package: $problems; registry: ${record:-none}; Update*.tmp left: $leftovers"
[ "$result_ok" -eq 1 ] && [ "$problems" -eq 0 ] && [ "$leftovers" -eq 0 ] && [ -n "$record" ]
