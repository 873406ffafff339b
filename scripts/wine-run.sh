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
wine=$(command -v wine64 || command -v wine)
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
exec "$wine" "$@"
