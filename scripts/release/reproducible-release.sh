#!/usr/bin/env bash
# Proves that the release is reproducible: builds the 32-bit
# quorvex-update.exe twice, from this checkout, in two fresh folders with
# different paths and without any compiler cache, and compares the two
# programs byte for byte. Also checks that the release carries no debug
# section and no time stamp in its PE header.
#   bash scripts/release/reproducible-release.sh [WORK_FOLDER]
# WORK_FOLDER (default build/reproducible) receives the two build trees.
# Exits 0 and prints the program's size and SHA-256 when both agree.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
work=${1:-$root/build/reproducible}
target=quorvex-update

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
for tree in first second-tree; do
  echo "reproducible: building $target in $work/$tree"
  # No compiler cache: both programs come from the compiler itself.
  CCACHE_DISABLE=1 cmake -S "$root" -B "$work/$tree" \
    --toolchain "$root/cmake/toolchain-mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF >/dev/null
  CCACHE_DISABLE=1 nice -n 5 cmake --build "$work/$tree" --target "$target" -j2 >/dev/null
done

a=$work/first/bin/$target.exe
b=$work/second-tree/bin/$target.exe
status=0
if cmp -s "$a" "$b"; then
  echo "reproducible: the two builds are byte-identical"
else
  echo "reproducible: the two builds differ:" >&2
  cmp -l "$a" "$b" | head -n 10 >&2 || true
  status=1
fi
debug=$(i686-w64-mingw32-objdump -h "$a" | awk '$2 ~ /^\.debug/ {print $2}')
if [ -n "$debug" ]; then
  echo "reproducible: debug sections left in the release: $debug" >&2
  status=1
fi
stamp=$(i686-w64-mingw32-objdump -p "$a" | awk '/^Time\/Date/ {$1=""; print}')
case "$stamp" in
  *1970*) ;;
  *) echo "reproducible: the PE header carries a time stamp:$stamp" >&2; status=1 ;;
esac
if grep -qaF "$root" "$a" || grep -qaF "$work" "$a"; then
  echo "reproducible: the program names a build folder" >&2
  status=1
fi
echo "reproducible: $target.exe $(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -d' ' -f1)"
exit "$status"
