#!/usr/bin/env bash
# Times the desktop program's library list over thousands of registrations,
# under wine64 in a private Xvfb display: for each count N, a Wine prefix
# made like the test prefix gets N generated registrations (pointing at a
# few real library files Wine installs), and the window probe
# (tests/app/win/window_bench_probe.cpp) times `velbrook-cli.exe list` (the
# registry scan alone), then starts velbrook.exe and polls its main window
# until the final count text shows, then opens the biggest corpus library
# (mshtml) into the contents window. Each count runs ROUNDS times after one
# untimed run that lets the new prefix settle; every time is printed, then
# the medians. With --before, each round times an older build of the two
# programs too, right before the current ones, in the same prefix.
#
# Usage: scripts/bench-window.sh [--before velbrook.exe velbrook-cli.exe]
#                                [--rounds R] [N...]
#   N defaults to 1000 5000. The tree is build/windows64, built with tests
#   (cmake --preset windows64 -DVELBROOK_TESTS=ON).
# The registrations come from tests/bench/make_registrations.py.
set -euo pipefail
cd "$(dirname "$0")/.."

tree=build/windows64
rounds=3
before=()
counts=()
while [ $# -gt 0 ]; do
  case $1 in
    --before) before=("$2" "$3"); shift 3 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) counts+=("$1"); shift ;;
  esac
done
[ ${#counts[@]} -gt 0 ] || counts=(1000 5000)

current=("$tree/src/app/velbrook.exe" "$tree/velbrook-cli.exe")
probe=$tree/tests/app/win/app_window_bench_probe.exe
generator=tests/bench/make_registrations.py
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
for needed in "${current[@]}" "${before[@]}" "$probe" "$generator"; do
  if [ ! -e "$needed" ]; then
    echo "bench-window.sh: $needed is missing" >&2
    exit 2
  fi
done
labels=(current)
[ ${#before[@]} -eq 0 ] || labels=(before current)

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

work=$(mktemp -d /tmp/velbrook-bench-window.XXXXXX)
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do WINEPREFIX=$prefix "$server" -k 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Runs the probe on one build; its output goes to $work/out.txt, line ends
# made LF (a file, not a pipe: Wine's own processes may hold a pipe open).
probe_run() {
  cmake/wine-run.sh "$wine" "$1" "$probe" "$2" --cli "$3" --open MSHTML.TLB \
    >"$work/raw.txt" 2>/dev/null </dev/null || true
  tr -d '\r' <"$work/raw.txt" >"$work/out.txt"
}

for count in "${counts[@]}"; do
  prefix=$work/prefix-$count
  prefixes+=("$prefix")
  python3 "$generator" "$count" -o "$work/extra-$count.reg"
  # wine-run.sh makes the prefix (wineboot) and its display on first use.
  cmake/wine-run.sh "$wine" "$prefix" regedit /S \
    "$(printf 'Z:%s' "$work/extra-$count.reg" | tr / '\\')" >/dev/null 2>&1 </dev/null
  probe_run "$prefix" "${current[@]}"
  : >"$work/times.txt"
  for round in $(seq "$rounds"); do
    for label in "${labels[@]}"; do
      if [ "$label" = before ]; then probe_run "$prefix" "${before[@]}"; else probe_run "$prefix" "${current[@]}"; fi
      echo "$count registrations, round $round, $label build:"
      sed 's/^/  /' "$work/out.txt"
      sed -n -e "s/^list: .* list in \([0-9]*\) ms$/$label list \1/p" \
             -e "s/^fill: .* shown \([0-9]*\) ms after the start$/$label fill \1/p" \
             -e "s/^open: .* shown \([0-9]*\) ms after Enter$/$label open \1/p" \
             "$work/out.txt" >>"$work/times.txt"
    done
  done
  for label in "${labels[@]}"; do
    for measure in list fill open; do
      times=$(awk -v l="$label" -v m="$measure" '$1 == l && $2 == m { print $3 }' "$work/times.txt")
      [ -n "$times" ] || continue
      echo "$count registrations, $label build: $measure $(echo "$times" | median) ms" \
           "(median of $(echo "$times" | grep -c ''))"
    done
  done
done
