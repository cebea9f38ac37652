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
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 </dev/null
    "$server" -w
  fi
) 9>"$prefix.lock"
# A wineserver started by this call would keep CTest's output pipe open, so
# start it detached from our output first; it exits 30 s after its last client.
"$server" -p30 >/dev/null 2>&1 </dev/null
exec "$wine" "$@"
