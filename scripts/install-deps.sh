#!/usr/bin/env bash
# Installs every build and test dependency from Debian's archive. Safe to run again.
# wine32:i386 provides the shipped 32-bit type libraries we test against; the
# Windows tests themselves run under wine64 (see README: some kernels cannot
# execute 32-bit code).
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev perl
  googletest libbenchmark-dev libcli11-dev
  g++-mingw-w64-i686 mingw-w64-tools
  g++-mingw-w64-x86-64 wine wine64 wine32:i386 xvfb xauth
  imagemagick x11-apps x11-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
