#!/usr/bin/env bash
# Builds the portable reader's fuzzer with clang in build/fuzz and runs it for
# SECONDS (default 60) over a seed corpus of real libraries; exits non-zero
# when the fuzzer finds a crash (the reproducer is left in build/fuzz/crashes).
# Then the same for the pipeline fuzzer (open, contents lists, generate in
# both styles, dump), seeded also with our IDL fixtures, the hostile ones
# among them. Undefined behaviour stops a run like a crash.
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
wine=/usr/lib/i386-linux-gnu/wine/i386-windows
for f in stdole2.tlb stdole32.tlb scrrun.dll vbscript.dll; do
  [ -f "$wine/$f" ] && cp -f "$wine/$f" "$seeds/"
done
for f in "$root"/build/*/tests/typeinfo/msft/fixtures/*.tlb; do
  [ -f "$f" ] && cp -f "$f" "$seeds/"
done
"$build/tests/fuzz/msft_fuzz" "$corpus" "$seeds" -max_total_time="$seconds" \
  -max_len=1000000 -rss_limit_mb=2048 -timeout=10 \
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
