#!/usr/bin/env bash
# Runs a GUI test under the given emulator inside a private X server, so that
# plain ctest works without a display.
# Usage: xvfb-wine.sh EMULATOR... program.exe [args...]
set -u
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
