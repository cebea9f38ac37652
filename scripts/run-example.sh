#!/usr/bin/env bash
# Builds Velbrook natively and generates HotBasic include files from the
# bundled example library (examples/shapes.idl), in both styles.
set -euo pipefail
cd "$(dirname "$0")/.."
# The Linux program alone: no test dependencies, no Windows toolchains, no Wine.
bash scripts/install-deps.sh --main
cmake --preset linux -DVELBROOK_TESTS=OFF >/dev/null
cmake --build --preset linux -j "$(nproc)" --target velbrook_cli velbrook_example
example=build/linux/examples/shapes.tlb
out=build/example
mkdir -p "$out"
build/linux/velbrook show "$example" > "$out/shapes-contents.txt"
build/linux/velbrook generate "$example" --all -o "$out/shapes-invoke.inc"
build/linux/velbrook generate "$example" --all --vtable -o "$out/shapes-vtable.inc"
echo "Example library: $example (from examples/shapes.idl)"
echo "  its contents, as the contents window lists them: $out/shapes-contents.txt"
echo "  include file, Invoke style:                     $out/shapes-invoke.inc"
echo "  include file, vtable style:                     $out/shapes-vtable.inc"
