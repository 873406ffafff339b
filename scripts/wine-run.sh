#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix of a build tree.
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is made on first use (under a lock, so parallel tests share it).
set -euo pipefail
prefix=$1; shift
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64
# No Mono or Gecko installer dialogs: nothing here uses .NET or HTML.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" "$prefix"
# QV_USE_DISPLAY=1 keeps the caller's display (a person watching the demo).
if [ "${QV_USE_DISPLAY:-0}" != 1 ]; then
  DISPLAY=$("$here/wine-display.sh" "$prefix")
  export DISPLAY
fi
wine=$(command -v wine64 || command -v wine)
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
# Wine marks a read-only file by taking away its write permission bits, and
# root ignores those. As root, run Wine without CAP_DAC_OVERRIDE so that a
# read-only file refuses writing as it does on Windows.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  exec setpriv --bounding-set=-dac_override -- "$wine" "$@"
fi
exec "$wine" "$@"
