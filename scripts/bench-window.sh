#!/usr/bin/env bash
# Times the desktop program's library list over thousands of registrations,
# under wine64 in a private Xvfb display: for each count N, a Wine prefix
# made like the test prefix gets N generated registrations (pointing at a
# few real library files Wine installs), and the window probe starts
# velbrook.exe and polls its main window until the final count text shows;
# then it opens the biggest corpus library (mshtml) into the contents window.
# For comparison, the probe first times `velbrook-cli.exe list` over the same
# prefix (the registry scan alone, from its start to its end). Each count runs
# ROUNDS times; every time is printed, then the median.
#
# Usage: scripts/bench-window.sh [--app velbrook.exe] [--cli velbrook-cli.exe]
#                                [--rounds R] [N...]
#   N defaults to 1000 5000; --app and --cli time other builds of the
#   programs (say, older ones) with the same probe; the tree is
#   build/windows64, built with tests (cmake --preset windows64
#   -DVELBROOK_TESTS=ON).
# The registrations come from tests/bench/make_registrations.py.
set -euo pipefail
cd "$(dirname "$0")/.."

tree=build/windows64
app=$tree/src/app/velbrook.exe
cli=$tree/velbrook-cli.exe
rounds=3
counts=()
while [ $# -gt 0 ]; do
  case $1 in
    --app) app=$2; shift 2 ;;
    --cli) cli=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) counts+=("$1"); shift ;;
  esac
done
[ ${#counts[@]} -gt 0 ] || counts=(1000 5000)

probe=$tree/tests/app/win/app_window_bench_probe.exe
generator=tests/bench/make_registrations.py
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
for needed in "$app" "$cli" "$probe" "$generator"; do
  if [ ! -e "$needed" ]; then
    echo "bench-window.sh: $needed is missing" >&2
    exit 2
  fi
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

work=$(mktemp -d /tmp/velbrook-bench-window.XXXXXX)
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do WINEPREFIX=$prefix "$server" -k 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

for count in "${counts[@]}"; do
  prefix=$work/prefix-$count
  prefixes+=("$prefix")
  python3 "$generator" "$count" -o "$work/extra-$count.reg"
  # wine-run.sh makes the prefix (wineboot) and its display on first use.
  cmake/wine-run.sh "$wine" "$prefix" regedit /S \
    "$(printf 'Z:%s' "$work/extra-$count.reg" | tr / '\\')" >/dev/null 2>&1 </dev/null
  fills=()
  opens=()
  lists=()
  for round in $(seq "$rounds"); do
    # A file, not a pipe: Wine's own processes may hold a pipe open.
    cmake/wine-run.sh "$wine" "$prefix" "$probe" "$app" --cli "$cli" --open MSHTML.TLB \
      >"$work/out.txt" 2>/dev/null </dev/null || true
    out=$(cat "$work/out.txt")
    echo "$count registrations, round $round:"
    echo "$out" | sed 's/^/  /'
    fill=$(echo "$out" | sed -n 's/^fill: .* shown \([0-9]*\) ms after the start$/\1/p')
    open=$(echo "$out" | sed -n 's/^open: .* shown \([0-9]*\) ms after Enter$/\1/p')
    list=$(echo "$out" | sed -n 's/^list: .* list in \([0-9]*\) ms$/\1/p')
    [ -n "$list" ] && lists+=("$list")
    [ -n "$fill" ] && fills+=("$fill")
    [ -n "$open" ] && opens+=("$open")
  done
  if [ ${#lists[@]} -gt 0 ]; then
    echo "$count registrations: velbrook-cli.exe list took $(printf '%s\n' "${lists[@]}" | median) ms (median of ${#lists[@]})"
  fi
  if [ ${#fills[@]} -gt 0 ]; then
    echo "$count registrations: list filled and shown in $(printf '%s\n' "${fills[@]}" | median) ms (median of ${#fills[@]})"
  fi
  if [ ${#opens[@]} -gt 0 ]; then
    echo "$count registrations: mshtml opened in $(printf '%s\n' "${opens[@]}" | median) ms (median of ${#opens[@]})"
  fi
done
