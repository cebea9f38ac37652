#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix, making
# the prefix on first use. CTest uses this as the cross-compiling emulator.
# Usage: wine-run.sh WINE PREFIX program.exe [args...]
set -u
wine=$1; prefix=$2; shift 2
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=/usr/lib/wine/wineserver32
# One prefix per build tree; the lock keeps parallel tests from racing wineboot.
mkdir -p "$(dirname "$prefix")"

# Every Wine process of the prefix shares one private X server: Wine's desktop
# process keeps the display it was started with, so a window test that came
# after a console test would otherwise have none. The server ends by itself
# once its last client (Wine's desktop, when wineserver exits) has gone.
display_file="$prefix.display"
(
  flock 9
  number=$(cat "$display_file" 2>/dev/null)
  if [ -z "$number" ] || ! kill -0 "$(cat "/tmp/.X$number-lock" 2>/dev/null)" 2>/dev/null; then
    for number in $(seq 90 189); do
      [ -e "/tmp/.X$number-lock" ] && continue
      Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -terminate \
        >/dev/null 2>&1 </dev/null 9>&- &
      for _ in $(seq 100); do
        [ -S "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
      done
      [ -S "/tmp/.X11-unix/X$number" ] && break
    done
    echo "$number" > "$display_file"
  fi
) 9>"$prefix.lock"
export DISPLAY=":$(cat "$display_file")"
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 </dev/null 9>&-
    "$server" -w 9>&-
  fi
) 9>"$prefix.lock"
# Wine's own background processes (services, explorer) inherit the standard
# output of the program that starts them and would keep CTest's pipe open
# long after the test ended. So start the server and those processes here,
# detached from our output and from the lock; later tests find them running.
# The server stays ten minutes after its last client (scripts/test-all.sh
# stops it at once).
(
  flock 9
  "$server" -p600 >/dev/null 2>&1 </dev/null 9>&-
  "$wine" cmd.exe /c exit >/dev/null 2>&1 </dev/null 9>&-
) 9>"$prefix.lock"
exec "$wine" "$@"
