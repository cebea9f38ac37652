#!/usr/bin/env bash
# Builds Velbrook natively and runs its main job on the bundled example library.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)"
example=build/linux/tests/idl/shapes.tlb
out=build/linux/example
mkdir -p "$out"
build/linux/velbrook dump "$example" > "$out/shapes.dump"
echo "Dump of $example written to $out/shapes.dump"
