#!/usr/bin/env bash
# Installs, once, every Debian package the builds and the tests need.
# Safe to run again: packages already present are not touched.
# Runs as root on a fresh Debian 12 machine (no systemd needed).
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  zlib1g-dev libz-mingw-w64-dev
  googletest
  wine64 wine fonts-wine xvfb xauth x11-utils imagemagick
  firebird3.0-server firebird3.0-utils firebird-dev
  clang
  file
  # The 32-bit release runs under Wine's 32-bit loader in the same prefix;
  # Wine prints through CUPS (libcups2 of each architecture).
  wine32:i386 libcups2 libcups2:i386
  # Printing tests: a CUPS server with a PDF printer, and poppler to read
  # what it printed.
  cups cups-client printer-driver-cups-pdf poppler-utils
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive

# wine32:i386 needs the i386 architecture (then a fresh package list).
need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  $sudo dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ "$need_update" -eq 1 ]; then
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  # No service is started at installation (no systemd; the test scripts
  # start cupsd themselves). A policy the machine has already stays.
  own_policy=0
  if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee /usr/sbin/policy-rc.d >/dev/null
    $sudo chmod +x /usr/sbin/policy-rc.d
    own_policy=1
  fi
  $sudo apt-get install -y -qq --no-install-recommends \
    -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold \
    "${missing[@]}" >/dev/null
  [ "$own_policy" -eq 0 ] || $sudo rm -f /usr/sbin/policy-rc.d
fi

# A kernel without 32-bit x86 support refuses Wine's 32-bit loader: run it
# under qemu's user emulation, registered as the interpreter of i386 ELF
# programs (binfmt_misc, no systemd needed). The F flag opens qemu at once,
# so the registration holds in every mount namespace.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "setup: this kernel does not run 32-bit programs; registering qemu-i386"
  dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed' ||
    $sudo apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" | $sudo tee "$binfmt/register" >/dev/null
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 ||
    { echo "setup: Wine's 32-bit loader still does not start" >&2; exit 1; }
fi
echo "setup: all packages present"
