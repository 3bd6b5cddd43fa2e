#!/usr/bin/env bash
# Builds the digit-rule fuzz target with clang (ASan, UBSan, libFuzzer) in
# build/fuzz (scripts/fuzz-build) and runs it.
# Usage: digits-fuzz.sh [seconds] [extra libFuzzer args...]
# Crash inputs land in build/fuzz/digits/crashes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
out=$top/build/fuzz/digits
seconds=${1:-60}
shift || true
mkdir -p "$out/corpus" "$out/crashes"

"$top/scripts/fuzz-build" kvo_digits_fuzz

# Seeds: flags byte, the keys, then conditions.
seed() { # name flags text
  { printf "\\x$(printf %02x "$2")"; printf '%b' "$3"; } > "$out/corpus/seed-$1"
}
seed fixed 0 '123\n1\n2\n123'
seed range 2 '150#\n100-199\n12#'
seed wild 64 '1234\n1$\n1$2\n$5'
seed refs 5 '201\n%A.V%\n%F%$\n%this%\n%channel%1'
seed prompt 16 '7\n%A.W%\nV host'
seed open 0 '1\n%A\n10-2-\n?n'

cd "$out"
nice "$top/build/fuzz/bin/kvo_digits_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=5 -rss_limit_mb=1024 \
  -dict="$here/digits.dict" -artifact_prefix="$out/crashes/" -print_final_stats=1 "$@" corpus
