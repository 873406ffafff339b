#!/usr/bin/env bash
# Runs a Windows test program in a Wine prefix of its own whose drive Q: is
# a small RAM disk (a size-limited tmpfs), for the tests that fill a drive
# during an update.
#   small-drive-run.sh PREFIX PROGRAM [ARGS...]
# The program learns the drive through QV_SMALL_DRIVE (Q:), or why there is
# none through QV_SMALL_DRIVE_REFUSED (mount needs root, or a kernel and a
# container that allow it). The RAM disk is unmounted when the program ends,
# whatever its outcome; one left by a run that was killed is unmounted first.
# The program's exit code is the script's, but for 77 (skipped, for CTest's
# SKIP_RETURN_CODE) when it passed without the RAM disk.
set -uo pipefail
prefix=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all

"$here/wine-prefix.sh" "$prefix" || exit 1

drive=$prefix/drive_q
size=${QV_SMALL_DRIVE_SIZE:-8m}
unmount() {
  rm -f "$prefix/dosdevices/q:" "$prefix/dosdevices/q::"
  if mountpoint -q "$drive"; then
    # The wineserver may still hold the folder for a moment after the
    # program's end: wait for it, and detach lazily if it is still busy.
    umount "$drive" 2>/dev/null || { wineserver -w 2>/dev/null; umount "$drive" 2>/dev/null; } ||
      umount -l "$drive"
  fi
}
unmount
mkdir -p "$drive"
unset QV_SMALL_DRIVE QV_SMALL_DRIVE_REFUSED
if reason=$(mount -t tmpfs -o "size=$size,mode=0755" qv-small-drive "$drive" 2>&1); then
  trap unmount EXIT
  trap 'exit 130' INT TERM HUP
  ln -sfn ../drive_q "$prefix/dosdevices/q:"
  export QV_SMALL_DRIVE=Q:
else
  export QV_SMALL_DRIVE_REFUSED="mount -t tmpfs -o size=$size $drive was refused: ${reason:-no reason given} (uid $(id -u))"
fi
"$here/wine-run.sh" "$prefix" "$@"
code=$?
if [ "$code" -eq 0 ] && [ -n "${QV_SMALL_DRIVE_REFUSED:-}" ]; then
  echo "small-drive-run: SKIPPED the cases that need the RAM disk: $QV_SMALL_DRIVE_REFUSED" >&2
  exit 77
fi
exit "$code"
