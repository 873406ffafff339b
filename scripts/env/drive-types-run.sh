#!/usr/bin/env bash
# Runs a Windows program in a Wine prefix whose drives have real types, as a
# workstation's have: C: fixed, D: a network drive, E: a CD-ROM, and no Z:
# (Wine's view of the whole Linux file system is hidden, so that a drive
# search meets only these drives).
#   drive-types-run.sh PREFIX PROGRAM [FILE...]
# PROGRAM and the FILEs (the programs it starts) are copied into
# C:\qv-drives\ and PROGRAM runs from there; its exit code is the script's.
# The prefix is its own: changing its drives must not disturb the tests that
# share the build tree's prefix.
set -euo pipefail
prefix=$1; shift
program=$1
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all

"$here/wine-prefix.sh" "$prefix"
# The drives are set under a lock; no Wine process (nor the Xvfb that
# wine-run.sh may start) inherits it, or it would stay held after us.
(
  flock 9
  mkdir -p "$prefix/drive_d" "$prefix/drive_e"
  ln -sfn ../drive_d "$prefix/dosdevices/d:"
  ln -sfn ../drive_e "$prefix/dosdevices/e:"
  rm -f "$prefix/dosdevices/z:" "$prefix/dosdevices/z::"
  if ! grep -q '^"d:"="network"' "$prefix/system.reg" ||
     ! grep -q '^"e:"="cdrom"' "$prefix/system.reg"; then
    "$here/wine-run.sh" "$prefix" reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d network /f >/dev/null 9>&-
    "$here/wine-run.sh" "$prefix" reg add 'HKLM\Software\Wine\Drives' /v e: /t REG_SZ /d cdrom /f >/dev/null 9>&-
    # The mount manager reads the drive types when the wineserver starts.
    wineserver -k 9>&- || true
    wineserver -w 9>&- || true
  fi
) 9>"$prefix.drives-lock"

folder=$prefix/drive_c/qv-drives
rm -rf "$folder"
mkdir -p "$folder"
cp "$@" "$folder/"
cd "$folder"
"$here/wine-run.sh" "$prefix" "$folder/$(basename "$program")"
