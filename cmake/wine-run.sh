#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix, making
# the prefix on first use. CTest uses this as the cross-compiling emulator.
# Usage: wine-run.sh WINE PREFIX program.exe [args...]
set -u
wine=$1; prefix=$2; shift 2
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=/usr/lib/wine/wineserver32
mkdir -p "$(dirname "$prefix")"
display_file="$prefix.display"
xvfb_log="$prefix.xvfb.log"

display_alive() {
  [ -n "${1:-}" ] && xdpyinfo -display ":$1" >/dev/null 2>&1
}

# Starts a private X server that lives exactly as long as the prefix's
# persistent wineserver: Wine's desktop process keeps the display it was
# started with, so the server must not go away between tests (an X server
# that ends with its last client would vanish after wineboot and leave every
# later window test without a display).
start_display() {
  local number
  for number in $(seq 90 189); do
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >"$xvfb_log" 2>&1 </dev/null 9>&- &
    local xvfb_pid=$!
    for _ in $(seq 100); do
      display_alive "$number" && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if display_alive "$number"; then
      echo "$number" > "$display_file"
      # Ends the X server when the wineserver ends (wineserver -k, or ten
      # minutes after its last client).
      ( "$server" -w; kill "$xvfb_pid" ) >/dev/null 2>&1 </dev/null 9>&- &
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
  done
  echo "wine-run.sh: no X server could be started; Xvfb said:" >&2
  cat "$xvfb_log" >&2
  return 1
}

# One prefix per build tree; the lock keeps parallel tests from racing wineboot
# and from starting two servers.
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 </dev/null 9>&-
    "$server" -w 9>&-
  fi
  # Wine's own background processes (services, explorer) inherit the standard
  # output of the program that starts them and would keep CTest's pipe open
  # long after the test ended. So start the server, the display and those
  # processes here, detached from our output and from the lock; later tests
  # find them running. The server stays ten minutes after its last client
  # (scripts/test-all.sh stops it at once).
  "$server" -p600 >/dev/null 2>&1 </dev/null 9>&-
  if ! display_alive "$(cat "$display_file" 2>/dev/null)"; then
    # A desktop process left over from a display that has gone would keep
    # every new window without one: start the server afresh with the display.
    "$server" -k 9>&- 2>/dev/null
    "$server" -w 9>&-
    "$server" -p600 >/dev/null 2>&1 </dev/null 9>&-
    start_display || exit 1
  fi
  export DISPLAY=":$(cat "$display_file")"
  "$wine" cmd.exe /c exit >/dev/null 2>&1 </dev/null 9>&-
) 9>"$prefix.lock" || exit 1
export DISPLAY=":$(cat "$display_file")"
exec "$wine" "$@"
