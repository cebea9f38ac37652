#!/bin/sh
# Runs a command with its standard output on /dev/full: the lost output must
# be reported on stderr ("cannot write standard output") and end the run
# with exit status 1.
# Usage: full_stdout_test.sh CLI ARGUMENT...
err=$("$@" 2>&1 >/dev/full)
status=$?
echo "$err"
case $err in
  *"velbrook: cannot write standard output"*) ;;
  *) echo "FAILED: no message about the lost output"; exit 1 ;;
esac
[ "$status" -eq 1 ] || { echo "FAILED: exit status $status, wanted 1"; exit 1; }
