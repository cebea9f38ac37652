#!/usr/bin/env bash
# Builds the fuzzers with clang in build/fuzz and runs each for SECONDS
# (default 60): the portable reader over a seed corpus of real libraries, its
# SLTG decoder over the SLTG test libraries, then the whole pipeline (open,
# contents lists, generate in both styles, dump), seeded also with our IDL
# fixtures, the hostile ones among them. Exits non-zero when a fuzzer finds a
# crash or undefined behaviour (the reproducer is left in build/fuzz/crashes).
# Usage: tests/fuzz/run-fuzz.sh [SECONDS]
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBROOK_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target msft_fuzz pipeline_fuzz velbrook_idl_fixtures
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
seeds=$build/seeds
corpus=$build/corpus
mkdir -p "$seeds" "$corpus" "$build/crashes"
# Real libraries from the Wine corpora the build found (32-bit, 64-bit or
# both); each file keeps its folder's name so that the two do not collide.
while read -r wine; do
  for f in stdole2.tlb stdole32.tlb scrrun.dll vbscript.dll; do
    [ -f "$wine/$f" ] && cp -f "$wine/$f" "$seeds/$(basename "$wine")-$f"
  done
done < "$build/wine-corpora.txt"
if ! ls "$seeds" | grep -q windows-; then
  echo "run-fuzz.sh: no Wine libraries to seed from (run scripts/install-deps.sh --tests)" >&2
  exit 1
fi
for f in "$root"/build/*/tests/typeinfo/msft/fixtures/*.tlb; do
  [ -f "$f" ] && cp -f "$f" "$seeds/"
done
"$build/tests/fuzz/msft_fuzz" "$corpus" "$seeds" -max_total_time="$seconds" \
  -max_len=1000000 -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$build/crashes/"

# The SLTG decoder: no real SLTG library is at hand, so the seeds are the
# test libraries our own writer makes.
cmake --build "$build" -j2 --target sltg_fuzz write_sltg_fixtures
"$build/tests/typeinfo/sltg/write_sltg_fixtures" "$build/sltg-seeds"
mkdir -p "$build/sltg-corpus"
"$build/tests/fuzz/sltg_fuzz" "$build/sltg-corpus" "$build/sltg-seeds" -max_total_time="$seconds" \
  -max_len=100000 -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$build/crashes/"

pipeline_seeds=$build/pipeline-seeds
pipeline_corpus=$build/pipeline-corpus
mkdir -p "$pipeline_seeds" "$pipeline_corpus"
for f in "$seeds"/* "$build"/tests/idl/*.tlb; do
  [ -f "$f" ] && cp -f "$f" "$pipeline_seeds/"
done
"$build/tests/fuzz/pipeline_fuzz" "$pipeline_corpus" "$pipeline_seeds" \
  -max_total_time="$seconds" -max_len=1000000 -rss_limit_mb=2048 -timeout=30 \
  -artifact_prefix="$build/crashes/pipeline-"
