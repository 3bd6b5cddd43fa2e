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

"$top/scripts/fuzz-build" kvo_vap_fuzz

cd "$out"
nice "$top/build/fuzz/bin/kvo_vap_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=5 -rss_limit_mb=1024 \
  -artifact_prefix="$out/crashes/" -print_final_stats=1 "$@" corpus
