#!/usr/bin/env bash
# Takes a PNG of each page of the wizard, in a Wine desktop window on the
# Xvfb display of a prefix of its own, so that the title bar and frame are
# drawn as on Windows.
#   scripts/screenshots.sh [OUTPUT_FOLDER] [PROGRAM]
# Default output: build/win64/screenshots/. PROGRAM is an .exe of
# build/win64/bin (default quorvex-update-empty.exe, a package without any
# file, so that walking to the report page updates nothing).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-$root/build/win64/screenshots}
program=${2:-quorvex-update-empty.exe}
mkdir -p "$out"
out=$(cd "$out" && pwd)

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target wizard_shots >/dev/null

prefix=$root/build/win64/wineprefix-shots
bash "$root/scripts/walk-wizard.sh" "$prefix" wizard_shots.exe "$program" "$out"
