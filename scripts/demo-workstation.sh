#!/usr/bin/env bash
# Prepares (or resets) a demo workstation in a Wine prefix: a Quorvex
# Finance installation in C:\Quorvex5 that is older than this build's
# package, and its record in the current user's registry.
#   demo-workstation.sh PREFIX PAYLOAD_FOLDER
# PAYLOAD_FOLDER is the package's payload as the build generated it
# (build/win64/package/payload). The installation holds the gs and util
# folders with older versions of the listed files (other content, a time
# stamp in 2019), an older marker gs\GS-00.int, and no images07 folder.
set -euo pipefail
prefix=$1
payload=$2
here=$(cd "$(dirname "$0")" && pwd)

"$here/wine-prefix.sh" "$prefix"
suite=$prefix/drive_c/Quorvex5
rm -rf "$suite"
mkdir -p "$suite/gs" "$suite/util"
for folder in gs util; do
  for file in "$payload/$folder"/*; do
    name=$(basename "$file")
    printf 'ancienne version de %s\r\n' "$name" >"$suite/$folder/$name"
    touch -d '2019-03-01 08:00:00 UTC' "$suite/$folder/$name"
  done
done
# Leftover temporary files of an earlier run, if any.
rm -f "$prefix"/drive_c/users/*/Temp/Update*.tmp

"$here/wine-run.sh" "$prefix" reg add 'HKCU\Software\QUORVEX S.A.\Quorvex Finance\Program' \
  /v Filename /t REG_SZ /d 'C:\Quorvex5\gs\GS-00.int' /f >/dev/null
WINEPREFIX=$prefix wineserver -w  # the registry reaches the disk
echo "demo: workstation ready in $suite (gs: $(ls "$suite/gs" | wc -l) files, util: $(ls "$suite/util" | wc -l) files, no images07)"
