#!/usr/bin/env bash
# Prints the X display of a build tree's Wine prefix, starting its Xvfb on
# first use:  wine-display.sh PREFIX
# Every Wine process of one prefix shares one wineserver, and the desktop
# that wineserver keeps belongs to the display of the process that made it;
# so all of them, windowed or not, must use the same display.
set -euo pipefail
prefix=$1
state=$prefix.xdisplay
mkdir -p "$(dirname "$prefix")"
exec 8>"$prefix.xlock"
flock 8
if [ -s "$state" ]; then
  read -r display pid <"$state"
  if kill -0 "$pid" 2>/dev/null && xdpyinfo -display "$display" >/dev/null 2>&1; then
    echo "$display"
    exit 0
  fi
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
# -displayfd picks a free display number and writes it when ready.
setsid Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$fifo" >/dev/null 2>&1 8>&- &
pid=$!
read -r number <"$fifo"
rm -f "$fifo"
echo ":$number $pid" >"$state"
echo ":$number"
