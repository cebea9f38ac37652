#!/usr/bin/env bash
# Builds the Linux, 32-bit Windows and 64-bit Windows trees and runs every test:
# natively on Linux, and the Windows tests under wine64 in a private prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --tests

jobs=$(nproc)
for preset in linux windows windows64; do
  # Tests on explicitly: the example job may have configured a tree without.
  cmake --preset "$preset" -DVELBROOK_TESTS=ON >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

# The release zip a Windows user unzips and runs.
cmake --build --preset windows --target package

status=0
ctest --preset linux -j "$jobs" || status=1
# The 32-bit tree is built (it is what we ship) and its programs are exercised
# through the identical 64-bit tree, since 32-bit code may not execute here.
ctest --preset windows64 -j 1 || status=1
WINEPREFIX="$PWD/build/windows64/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null || true

# The portable reader, then the whole pipeline, under libFuzzer for a minute
# each; a crash fails the run.
if bash tests/fuzz/run-fuzz.sh 60 > build/fuzz.log 2>&1; then
  echo "fuzz: no crash in 60 s per target ($(grep -c '' build/fuzz.log) log lines)"
else
  tail -40 build/fuzz.log
  echo "fuzz: FAILED (reproducer in build/fuzz/crashes)"
  status=1
fi
exit $status
