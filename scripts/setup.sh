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
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
echo "setup: all packages present"
