#!/usr/bin/env bash
# Builds the line-scanner fuzz target with clang (ASan, UBSan, libFuzzer) and
# runs it. Usage: other-scanners-fuzz.sh [seconds] [extra libFuzzer args...]
# The corpus starts from the golden test inputs; crash inputs land in
# build/fuzz/other-scanners/crashes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
scan=$here/..
out=$top/build/fuzz/other-scanners
seconds=${1:-60}
shift || true
mkdir -p "$out/corpus" "$out/crashes"

# Built in the clang fuzz tree that scripts/fuzz keeps.
fuzzdir=$top/build/fuzz
if [ ! -f "$fuzzdir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$top" -B "$fuzzdir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQV_FUZZ=ON -DQV_SANITIZE=ON >/dev/null
fi
nice cmake --build "$fuzzdir" --target other_scanners_fuzz >/dev/null

# Seeds: each golden input once per scanner byte that suits it.
seed() { # selector file
  printf "\\x$(printf %02x "$1")" | cat - "$2" > "$out/corpus/seed-$1-$(basename "$2")"
}
data=$scan/tests/data
for f in "$data"/asm/*.asm; do seed 112 "$f"; seed 7 "$f"; done
for f in "$data"/resource/*.rc; do seed 1 "$f"; done
for f in "$data"/sections/*.inf; do seed 2 "$f"; done
for f in "$data"/basic/*.frm; do seed 3 "$f"; done
for f in "$data"/pascal/*.pas; do seed 4 "$f"; done
for f in "$data"/faults/*.log; do seed 5 "$f"; done
for f in "$data"/subjects/*.faq; do seed 6 "$f"; done

cd "$out"
nice "$fuzzdir/bin/other_scanners_fuzz" -max_total_time="$seconds" -max_len=12000 -timeout=5 -rss_limit_mb=1024 \
  -dict="$here/other-scanners.dict" -artifact_prefix="$out/crashes/" -print_final_stats=1 "$@" corpus
