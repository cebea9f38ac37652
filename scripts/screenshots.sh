#!/usr/bin/env bash
# Saves docs/main-window.png and docs/contents-window.png: velbrook.exe of the
# windows64 build under wine64, in the build tree's prefix and private Xvfb,
# showing the shapes fixture library. Installs what it needs (ImageMagick's
# import, Xvfb, wine64) with install-deps.sh --screenshots.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" --screenshots
build=$root/build/windows64
prefix=$build/wineprefix
probe=$build/tests/app/win/app_smoke_probe.exe
program=$build/src/app/velbrook.exe
library=$build/tests/idl/shapes.tlb
for file in "$probe" "$program" "$library"; do
  [ -f "$file" ] || { echo "missing $file: build the windows64 preset first" >&2; exit 1; }
done
command -v import >/dev/null || { echo "import (imagemagick) is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The probe registers the library, starts the program, brings each window to
# the top in turn (creating ready.main, then ready.contents) and closes it.
"$root/cmake/wine-run.sh" /usr/lib/wine/wine64 "$prefix" "$probe" \
  --hold-ms 4000 --ready-file ready "$program" "$library" \
  >"$work/probe.log" 2>&1 </dev/null &
probe_pid=$!
export DISPLAY=":$(cat "$prefix.display")"

shoot() {  # ready-file window-caption output
  for _ in $(seq 600); do
    [ -e "$1" ] && break
    kill -0 "$probe_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -e "$1" ] || { echo "no $1; probe said:" >&2; cat "$work/probe.log" >&2; return 1; }
  import -window "$2" "$3"
  echo "wrote $3"
}
shoot ready.main "Velbrook" "$root/docs/main-window.png"
shoot ready.contents "Velbrook smoke fixture (SHAPES.TLB)" "$root/docs/contents-window.png"
wait "$probe_pid"
cat "$work/probe.log"
