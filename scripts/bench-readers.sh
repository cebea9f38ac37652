#!/usr/bin/env bash
# Times both readers against the floor under wine64: every library of Wine's
# 64-bit folder that both readers open, then the synthetic libraries of
# 1,000, 5,000 and 10,000 interfaces (written once by make-synthetic-tlb with
# oleaut32's own writer). Prints the bench tables; ROUNDS rounds per library
# (default 5), each opening the library afresh.
# Usage: scripts/bench-readers.sh [BUILD_DIR] [ROUNDS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows64}
rounds=${2:-5}
corpus=${VELBROOK_BENCH_CORPUS:-/usr/lib/x86_64-linux-gnu/wine/x86_64-windows}
wine=${VELBROOK_WINE:-/usr/lib/wine/wine64}
work=$build/bench
export WINEPREFIX=${WINEPREFIX:-$work/wineprefix} WINEDEBUG=-all
mkdir -p "$work"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
# Output goes to files: a pipe from a Wine program can stay open after it ends.
ls "$corpus"/*.tlb "$corpus"/*.dll "$corpus"/*.ocx "$corpus"/*.exe > "$work/all.txt" 2>/dev/null || true
for n in 1000 5000 10000; do
  [ -f "$work/synthetic$n.tlb" ] ||
    "$wine" "$build/tests/bench/make-synthetic-tlb.exe" "$work/synthetic$n.tlb" "$n" \
      > "$work/make$n.log" 2>&1
  echo "$work/synthetic$n.tlb"
done > "$work/synthetic.txt"
"$wine" "$build/velbrook-cli.exe" bench --list "$work/all.txt" --repeat "$rounds" \
  > "$work/corpus.txt" 2> "$work/corpus.err"
"$wine" "$build/velbrook-cli.exe" bench --list "$work/synthetic.txt" --repeat "$rounds" \
  > "$work/synthetic-bench.txt" 2> "$work/synthetic.err"
cat "$work/corpus.txt" "$work/synthetic-bench.txt"
