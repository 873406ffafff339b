#!/usr/bin/env bash
# Fuzzes the decoders (tests/fuzz) with clang's libFuzzer for a chosen time:
#
#   bash scripts/release/fuzz.sh [SECONDS]      (default 300)
#
# It starts from the committed corpus, tests/fuzz/corpus, and keeps the new
# inputs it finds in build/native/fuzz/corpus, outside the repository. A
# crash stops it with exit status 1 and leaves the input that caused it in
# build/native/fuzz/crashes/: fix the fault, then commit that input to
# tests/fuzz/corpus under a name that says what it holds, so that the
# stored_form_fuzz test replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-300}
case $seconds in
  ''|*[!0-9]*) echo "usage: bash scripts/release/fuzz.sh [SECONDS]" >&2; exit 2 ;;
esac


[ -f build/native/CMakeCache.txt ] || cmake --preset native >/dev/null
cmake --build build/native --target stored_form_fuzz -j2

fuzzer=build/native/bin/stored-form-fuzz
work=build/native/fuzz
mkdir -p "$work/corpus" "$work/crashes"
echo "fuzzing for ${seconds}s; new inputs in $work/corpus"
if "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
     -artifact_prefix="$work/crashes/" -print_final_stats=1 \
     "$work/corpus" tests/fuzz/corpus; then
  echo "no crash in ${seconds}s"
else
  echo "the fuzzer stopped on a failure; its input:" >&2
  ls -t "$work/crashes" | head -n 3 | sed "s|^|  $work/crashes/|" >&2
  exit 1
fi
