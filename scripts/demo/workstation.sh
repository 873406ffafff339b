#!/usr/bin/env bash
# Prepares (or resets) the suite's demo workstation in a Wine prefix, or
# checks what an update left on a workstation, with demo_workstation
# (tools/workstation, the definition the Wine tests share):
#   workstation.sh make PREFIX PAYLOAD_FOLDER
#       a Quorvex Finance installation in C:\Quorvex5 older than the
#       package, its record in the current user's registry, and no
#       leftover temporary file of an earlier run
#   workstation.sh check PREFIX PAYLOAD_FOLDER [LISTING]
#       every packaged file equals its bytes and time stamp where installed
#       (the suite, whose record names the marker; or the "packaged
#       name<TAB>installed Windows path" lines of LISTING) and no
#       Update*.tmp is left; exit 0 only then
# PAYLOAD_FOLDER is the package's payload as the build generated it
# (build/win64/package/payload). demo_workstation.exe is taken from
# build/win64/bin.
set -euo pipefail
command=$1 prefix=$2 payload=$3 listing=${4:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$root/build/win64/bin

case "$command" in
  make) rm -f "$prefix"/drive_c/users/*/Temp/Update*.tmp ;;
  check) ;;
  *)
    echo "usage: workstation.sh make|check PREFIX PAYLOAD_FOLDER [LISTING]" >&2
    exit 2
    ;;
esac
"$root/scripts/env/wine-prefix.sh" "$prefix"
status=0
(cd "$bin" && "$root/scripts/env/wine-run.sh" "$prefix" demo_workstation.exe "$command" \
    "Z:$payload" ${listing:+"Z:$listing"}) | tr -d '\r' || status=$?
WINEPREFIX=$prefix wineserver -w  # the registry reaches the disk
exit "$status"
