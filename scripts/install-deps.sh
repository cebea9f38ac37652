#!/usr/bin/env bash
# Installs what a README command needs from Debian's archive. Safe to run again.
#
#   install-deps.sh --main         the Linux build alone (the example job)
#   install-deps.sh --tests        every build tree and every test (default)
#   install-deps.sh --screenshots  what scripts/screenshots.sh needs
#
# The archive is not always whole: one index can fail to download while a
# mirror syncs, and packages of the i386 architecture can then lag behind.
# A failed `apt-get update` is retried once, then reported, and the install
# goes on with the package lists there are. Packages are installed in groups;
# a required group that cannot be installed stops the script, an optional one
# (wine32:i386, whose 32-bit libraries widen the test corpus) is reported as
# skipped.
set -uo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

main_build=(cmake ninja-build g++ libcli11-dev mingw-w64-tools)
test_tools=(clang libclang-rt-14-dev clang-format perl python3 googletest libbenchmark-dev)
cross_build=(g++-mingw-w64-i686 g++-mingw-w64-x86-64)
wine64_run=(wine wine64 wine64-tools xvfb xauth)
# Wine's own fonts draw the title bar buttons (Marlett); Liberation Sans
# stands in for Arial, the main window's button font.
screenshot_tools=(imagemagick x11-apps x11-utils fonts-wine fonts-liberation2)
wine32_corpus=(wine32:i386)

want_main=0 want_tests=0 want_shots=0
[ $# -eq 0 ] && want_tests=1
for arg in "$@"; do
  case "$arg" in
    --main) want_main=1 ;;
    --tests) want_tests=1 ;;
    --screenshots) want_shots=1 ;;
    *) echo "install-deps.sh: unknown option $arg (use --main, --tests or --screenshots)" >&2; exit 2 ;;
  esac
done

# Each entry: "required|optional name package...".
groups=()
groups+=("required linux-build ${main_build[*]}")
if [ $want_tests -eq 1 ]; then
  groups+=("required test-tools ${test_tools[*]}")
  groups+=("required windows-build ${cross_build[*]}")
  groups+=("required wine64 ${wine64_run[*]}")
  groups+=("optional wine32-corpus ${wine32_corpus[*]}")
fi
if [ $want_shots -eq 1 ]; then
  groups+=("required windows-build ${cross_build[*]}")
  groups+=("required wine64 ${wine64_run[*]}")
  groups+=("required screenshot-tools ${screenshot_tools[*]}")
fi

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

updated=0
update_package_lists() {
  [ $updated -eq 1 ] && return 0
  updated=1
  if $SUDO apt-get update -q; then return 0; fi
  echo "install-deps.sh: apt-get update failed; retrying once in 10 s" >&2
  sleep 10
  if $SUDO apt-get update -q; then return 0; fi
  echo "install-deps.sh: warning: apt-get update failed on some index; going on with the package lists there are" >&2
}

status=0
seen=" "
for group in "${groups[@]}"; do
  read -r kind name packages <<<"$group"
  case "$seen" in *" $name "*) continue ;; esac
  seen+="$name "
  missing=()
  for p in $packages; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && continue
  added_i386=0
  if [ "$name" = wine32-corpus ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 && updated=0 added_i386=1
  fi
  update_package_lists
  echo "install-deps.sh: installing $name: ${missing[*]}"
  if ! $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    if [ "$kind" = optional ]; then
      echo "install-deps.sh: skipped $name (${missing[*]} cannot be installed from the archive as it is now); the tests use the 64-bit Wine corpus" >&2
      # Leave the machine as it was: an unused i386 architecture would make
      # every later apt-get update fetch (and possibly fail on) its indexes.
      [ $added_i386 -eq 1 ] && $SUDO dpkg --remove-architecture i386
    else
      echo "install-deps.sh: error: could not install $name: ${missing[*]}" >&2
      status=1
    fi
  fi
done
exit $status
