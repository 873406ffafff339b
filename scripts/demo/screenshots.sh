#!/usr/bin/env bash
# Takes a PNG of each page of the wizard, in a Wine desktop window on the
# Xvfb display of a prefix of its own, so that the title bar and frame are
# drawn as on Windows. The walk is wizard_shots (tools/demo).
#   scripts/demo/screenshots.sh [OUTPUT_FOLDER] [PROGRAM]
# Default output: build/win64/screenshots/. PROGRAM is an .exe of
# build/win64/bin (default quorvex-update-empty.exe, a package without any
# file, so that walking to the report page updates nothing).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=${1:-$root/build/win64/screenshots}
program=${2:-quorvex-update-empty.exe}
mkdir -p "$out"
out=$(cd "$out" && pwd)

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target wizard_shots >/dev/null

# The walk prints the report on the default printer, a PDF queue: its first
# page is left beside the screenshots.
bash "$root/scripts/env/print-server.sh" start >/dev/null
pdfs=$(bash "$root/scripts/env/print-server.sh" folder)
before=$(mktemp)
trap 'rm -f "$before"' EXIT
ls "$pdfs" >"$before"

prefix=$root/build/win64/wineprefix-shots
bash "$root/scripts/demo/walk-wizard.sh" "$prefix" wizard_shots.exe "$program" "$out"

printed=
for _ in $(seq 1 600); do
  printed=$(ls -t "$pdfs" | grep -i '^Update_report.*\.pdf$' | grep -vxF -f "$before" | head -n 1 || true)
  # Complete once the PDF writer has written its end.
  [ -n "$printed" ] && tail -c 64 "$pdfs/$printed" | grep -q '%%EOF' && break
  printed=
  sleep 0.2
done
if [ -z "$printed" ]; then
  echo "screenshots: the printed report did not come out" >&2
  exit 1
fi
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$pdfs/$printed" "$out/6-printed-report"
echo "screenshots: $out/6-printed-report.png (page 1 of $pdfs/$printed)"
