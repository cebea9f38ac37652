#!/usr/bin/env bash
# Builds Velbrook natively and generates HotBasic include files from the
# bundled example library (examples/shapes.idl), in both styles.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)"
example=build/linux/tests/idl/shapes.tlb
out=build/example
mkdir -p "$out"
build/linux/velbrook show "$example" > "$out/shapes-contents.txt"
build/linux/velbrook generate "$example" --all -o "$out/shapes-invoke.inc"
build/linux/velbrook generate "$example" --all --vtable -o "$out/shapes-vtable.inc"
echo "Example library: $example (from examples/shapes.idl)"
echo "  its contents, as the contents window lists them: $out/shapes-contents.txt"
echo "  include file, Invoke style:                     $out/shapes-invoke.inc"
echo "  include file, vtable style:                     $out/shapes-vtable.inc"
