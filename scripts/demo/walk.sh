#!/usr/bin/env bash
# The demos' headless walk: runs PROGRAM (beside the test programs) in
# PREFIX under Xvfb, walked by demo_walker (tools/demo) as a person would (Suivant,
# Démarrer, Yes to any question), leaves a screenshot of each page and the
# report in SHOTS, and prints the questions answered and the report here.
# Exit 0 only when the report ends with the success line.
#   walk.sh PREFIX PROGRAM SHOTS
set -uo pipefail
cd "$(dirname "$0")/../.."
prefix=$1 program=$2 shots=$3

echo "demo: no display; the wizard runs under Xvfb, walked by demo_walker"
rm -rf "$shots"
mkdir -p "$shots"
bash scripts/demo/walk-wizard.sh "$prefix" demo_walker.exe "$program" "$shots" ||
  echo "demo: the walk did not end normally" >&2
if [ -f "$shots/questions.txt" ]; then
  echo "demo: questions answered Yes:"
  iconv -f CP1252 -t UTF-8 "$shots/questions.txt" | tr -d '\r' | sed 's/^/  /'
fi
echo "demo: ---- installation report ----"
iconv -f CP1252 -t UTF-8 "$shots/report.txt" 2>/dev/null | tr -d '\r' || echo "demo: no report"
echo
echo "demo: ---- end of report ----"
echo "demo: screenshots in $shots"
last=$(iconv -f CP1252 -t UTF-8 "$shots/report.txt" 2>/dev/null | tr -d '\r' | sed '/^$/d' | tail -n 1 || true)
echo "demo: result: ${last:-no report}"
[ "$last" = "La mise à jour est terminée avec succès." ]
