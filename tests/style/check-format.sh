#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what .clang-format makes of it,
# naming each such file. Usage: check-format.sh SOURCE_DIR [CLANG_FORMAT]
set -u
source_dir=$1
clang_format=${2:-clang-format}
cd "$source_dir" || exit 1
if ! command -v "$clang_format" >/dev/null; then
  echo "check-format: $clang_format not found (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${#files[@]}" -eq 0 ]; then
  echo "check-format: no C++ files found under $source_dir" >&2
  exit 1
fi
bad=0
for f in "${files[@]}"; do
  if ! "$clang_format" --style=file "$f" | cmp -s - "$f"; then
    echo "not formatted: $f (run: $clang_format -i $f)"
    bad=$((bad + 1))
  fi
done
echo "check-format: ${#files[@]} files, $bad not formatted"
[ "$bad" -eq 0 ]
