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
# The loader follows the program's machine type: a 32-bit program (the
# release) runs with the 32-bit loader in the same 64-bit prefix; Wine's own
# programs (reg, explorer...) and 64-bit ones with the 64-bit loader.
pe_machine() {
  local file=$1 offset
  [ -f "$file" ] || return 0
  offset=$(od -An -t u4 -j 60 -N 4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] && od -An -t x2 -j $((offset + 4)) -N 2 "$file" 2>/dev/null | tr -d ' '
}
wine=$(command -v wine64 || command -v wine)
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
if [ "$(pe_machine "$1")" = 014c ]; then
  wine=/usr/lib/wine/wine
  [ -x "$wine" ] || { echo "wine-run: $1 is a 32-bit program and wine32 is missing (scripts/env/setup.sh installs it)" >&2; exit 1; }
fi
# Wine marks a read-only file by taking away its write permission bits, and
# root ignores those. As root, run Wine without CAP_DAC_OVERRIDE so that a
# read-only file refuses writing as it does on Windows.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  exec setpriv --bounding-set=-dac_override -- "$wine" "$@"
fi
exec "$wine" "$@"
