#!/usr/bin/env bash
# Retakes docs/main-window.png and docs/contents-window.png: velbrook.exe of
# the windows64 build under wine64 in a Wine prefix of its own, made for the
# run by wineboot under /tmp and removed after, so that the list shows what
# Wine registers (paths C:\windows\system32\...). The windows show on a Wine
# virtual desktop in a private Xvfb display, which draws their frames (there
# is no window manager); each picture is the desktop cut to one window's
# rectangle, which tests/app/win/screenshot_probe.cpp reports when it has
# posed that window: first the main window with LIBRARY's row selected, then
# LIBRARY's contents window opened through the list.
#
# Usage: scripts/screenshots.sh [LIBRARY]   (LIBRARY as the File column shows
#                                            it; MSXML3.DLL by default)
# Needs: scripts/install-deps.sh --screenshots, and the windows64 tree
# configured with tests (cmake --preset windows64 -DVELBROOK_TESTS=ON); the
# two programs it needs are built here when the tree is older than the code.
# The pictures replace those in docs/ only when both were taken and look
# whole; every temporary file and process goes at the end, on failure too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
library=${1:-MSXML3.DLL}
build=$root/build/windows64
program=$build/src/app/velbrook.exe
probe=$build/tests/app/win/app_screenshot_probe.exe
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=/usr/lib/wine/wineserver
# The virtual desktop fills the X screen: the main window stands at 80,80
# (800 x 600), the contents window is centred.
desktop=1024x768

say() { echo "screenshots.sh: $*" >&2; }
for tool in Xvfb import convert identify xwininfo timeout "$wine" "$server"; do
  command -v "$tool" >/dev/null || { say "$tool is missing: run scripts/install-deps.sh --screenshots"; exit 2; }
done
# Without Wine's own fonts the title bar buttons show letters.
if [ ! -e /usr/share/wine/fonts/marlett.ttf ]; then
  say "Wine's fonts are missing: run scripts/install-deps.sh --screenshots"
  exit 2
fi
if ! grep -qx 'VELBROOK_TESTS:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  say "no windows64 build with tests in $build: run"
  say "  cmake --preset windows64 -DVELBROOK_TESTS=ON && cmake --build --preset windows64"
  exit 2
fi
if ! cmake --build "$build" -j2 --target velbrook_app app_screenshot_probe >/dev/null; then
  say "building velbrook.exe and the probe failed: cmake --build --preset windows64 says why"
  exit 1
fi

work=$(mktemp -d /tmp/velbrook-screenshots.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko: their install prompts would wait forever on an unseen
# display. Their type libraries are registered all the same.
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=
cleanup() {
  timeout 30 "$server" -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
  rm -f "$root/docs/.main-window.png.part" "$root/docs/.contents-window.png.part"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A private X server on the first free display number.
Xvfb -displayfd 3 -screen 0 "${desktop}x24" -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[ -s "$work/display" ] || { say "Xvfb did not start:"; cat "$work/xvfb.log" >&2; exit 1; }
display=$(head -n 1 "$work/display")
export DISPLAY=":$display"

# Wine's output goes to files: through a pipe, its background processes
# would hold the pipe open.
run_wine() {  # seconds log program args...
  local seconds=$1 log=$2
  shift 2
  timeout "$seconds" "$wine" "$@" >"$log" 2>&1 </dev/null
}
say "making a Wine prefix in $WINEPREFIX"
if ! run_wine 300 "$work/wineboot.log" wineboot -i || ! timeout 120 "$server" -w; then
  say "wineboot failed:"; cat "$work/wineboot.log" >&2; exit 1
fi
# This Wine finds its own TrueType fonts only in the prefix: without Marlett
# the title bar buttons show letters.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Every window of the prefix on one virtual desktop of the screen's size.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' "\"Default\"=\"$desktop\"" '' \
  >"$work/desktop.reg"
if ! run_wine 120 "$work/regedit.log" regedit /S "Z:${work//\//\\}\\desktop.reg" ||
  ! timeout 120 "$server" -w; then
  say "regedit failed:"; cat "$work/regedit.log" >&2; exit 1
fi

mkdir "$work/poses"
say "starting velbrook.exe with $library"
run_wine 420 "$work/probe.log" "$probe" "$program" "$library" "$work/poses" &
probe_pid=$!

probe_failed() {
  say "$1; the probe said:"
  tr -d '\r' <"$work/probe.log" >&2
  exit 1
}

# Waits for the probe to pose window NAME, cuts its rectangle out of the
# virtual desktop into $work/NAME.png, checks the picture and lets the probe
# go on.
shoot() {  # name
  local rect=$work/poses/$1.rect
  for _ in $(seq 3000); do
    [ -e "$rect" ] && break
    kill -0 "$probe_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -e "$rect" ] || probe_failed "the $1 window was not posed"
  local left top width height
  read -r left top width height <"$rect"
  # Wine's desktop window, the one X window the windows are drawn in.
  local id
  id=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "[^"]*Wine desktop".*/\1/p' | head -n 1)
  [ -n "$id" ] || probe_failed "no Wine desktop window on $DISPLAY"
  import -window "$id" "$work/desktop-$1.png"
  convert "$work/desktop-$1.png" -crop "${width}x${height}+${left}+${top}" +repage "$work/$1.png"
  # Whole: the window's full size (inside the desktop), and drawn (a window
  # still being painted, or not at all, has few colours).
  local size colours
  size=$(identify -format '%wx%h' "$work/$1.png")
  colours=$(identify -format '%k' "$work/$1.png")
  [ "$size" = "${width}x${height}" ] || probe_failed "the $1 picture is $size, not ${width}x${height}"
  [ "$colours" -ge 16 ] || probe_failed "the $1 picture has only $colours colours"
  : >"$work/poses/$1.done"
  say "took the $1 window ($size, $colours colours)"
}
shoot main
shoot contents
status=0
wait "$probe_pid" || status=$?
[ "$status" -eq 0 ] || probe_failed "the probe ended with status $status"
tr -d '\r' <"$work/probe.log" | sed 's/^/screenshots.sh: probe: /' >&2

# Both pictures are good: each goes into docs/ by a rename within docs/.
for name in main contents; do
  cp "$work/$name.png" "$root/docs/.$name-window.png.part"
done
for name in main contents; do
  mv -f "$root/docs/.$name-window.png.part" "$root/docs/$name-window.png"
  say "wrote docs/$name-window.png"
done
