#!/usr/bin/env bash
# Builds the line-scanner fuzz target with clang (ASan, UBSan, libFuzzer) and
# runs it. Usage: other-scanners-fuzz.sh [seconds] [extra libFuzzer args...]
# The corpus starts from the golden test inputs; crash inputs land in
# build/fuzz/other-scanners/crashes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../../.." && pwd)
scan=$here/..
out=$top/build/fuzz/other-scanners
seconds=${1:-60}
shift || true
mkdir -p "$out/corpus" "$out/crashes"

nice clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Wall -Wextra -Werror -I"$scan" -I"$scan/tests" \
  "$here/OtherScannersFuzz.cpp" \
  "$scan"/{Asm,Resource,Section,Basic,Pascal,Fault,Subject}Scanner.cpp \
  "$scan/AsmIncludes.cpp" "$scan/LineScan.cpp" "$scan/TextLineSource.cpp" \
  -o "$out/fuzz"

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
nice ./fuzz -max_total_time="$seconds" -max_len=12000 -timeout=5 -rss_limit_mb=1024 \
  -dict="$here/other-scanners.dict" -artifact_prefix="$out/crashes/" -print_final_stats=1 "$@" corpus
