#!/usr/bin/env bash
# Builds the prompt-file fuzz target with clang (ASan, UBSan, libFuzzer) and
# runs it. Usage: prompt-file-fuzz.sh [seconds] [extra libFuzzer args...]
# Each input is one byte (the length of a clip name looked up, taken from the
# input's end) and then the file; the corpus starts from seeds/. Crash inputs
# land in build/fuzz/vap/crashes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../../.." && pwd)
out=$top/build/fuzz/vap
seconds=${1:-60}
shift || true
mkdir -p "$out/corpus" "$out/crashes"
cp -n "$here"/seeds/* "$out/corpus/"

# Built in the clang fuzz tree that scripts/fuzz keeps.
fuzzdir=$top/build/fuzz
if [ ! -f "$fuzzdir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$top" -B "$fuzzdir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQV_FUZZ=ON -DQV_SANITIZE=ON >/dev/null
fi
nice cmake --build "$fuzzdir" --target kvo_vap_fuzz >/dev/null

cd "$out"
nice "$fuzzdir/bin/kvo_vap_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=5 -rss_limit_mb=1024 \
  -artifact_prefix="$out/crashes/" -print_final_stats=1 "$@" corpus
