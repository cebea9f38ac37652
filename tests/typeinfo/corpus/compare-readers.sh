#!/usr/bin/env bash
# Dumps every library of the corpus with both readers and fails on any
# difference that is not listed in known-divergences.txt, and on any listed
# divergence that has gone away (the list can only shrink).
# Fails too when fewer than FLOOR libraries of CORPUS_DIR could be read by
# either reader: a corpus that went missing must not pass as "no differences".
# Usage: compare-readers.sh RUNNER CLI OUT_DIR KNOWN_LIST FLOOR CORPUS_DIR [EXTRA.tlb...]
set -u
shopt -s nullglob
runner=$1 cli=$2 out=$3 known=$4 floor=$5 corpus=$6
shift 6

rm -rf "$out"
mkdir -p "$out/oleaut" "$out/portable"
list="$out/libraries.txt"
{
  ls "$corpus"/*.tlb "$corpus"/*.dll "$corpus"/*.ocx "$corpus"/*.exe 2>/dev/null
  for extra in "$@"; do echo "$extra"; done
} > "$list"

for backend in oleaut portable; do
  # Unreadable files are expected (most DLLs carry no type library); each is
  # recorded in its dump file, so the exit status is not used here.
  $runner "$cli" dump --backend "$backend" --list "$list" \
    --output-dir "$out/$backend" > "$out/$backend.log" 2>&1 </dev/null
done

declare -A expected
while read -r name _; do
  case "$name" in ''|'#'*) continue ;; esac
  expected[$name]=1
done < "$known"

extra_names=" "
for extra in "$@"; do extra_names+="$(basename "$extra") "; done

failures=0 libraries=0 corpus_libraries=0 types=0 members=0
for dump in "$out"/oleaut/*.dump; do
  name=$(basename "$dump" .dump)
  other="$out/portable/$name.dump"
  if [ "$(cat "$dump")" = "unreadable" ] && [ -f "$other" ] &&
     [ "$(cat "$other")" = "unreadable" ]; then
    continue
  fi
  libraries=$((libraries + 1))
  case "$extra_names" in *" $name "*) ;; *) corpus_libraries=$((corpus_libraries + 1)) ;; esac
  types=$((types + $(grep -c '^type ' "$dump")))
  members=$((members + $(grep -cE '^ +[0-9]+ .* id 0x' "$dump")))
  if [ -f "$other" ] && cmp -s "$dump" "$other"; then
    if [ -n "${expected[$name]:-}" ]; then
      echo "AGREES NOW (remove from $(basename "$known")): $name"
      failures=$((failures + 1))
    fi
  elif [ -z "${expected[$name]:-}" ]; then
    echo "DIFFERS: $name"
    diff "$dump" "$other" 2>&1 | head -20
    failures=$((failures + 1))
  fi
done
for dump in "$out"/portable/*.dump; do
  name=$(basename "$dump" .dump)
  if [ ! -f "$out/oleaut/$name.dump" ]; then
    echo "ONLY THE PORTABLE READER DUMPED: $name"
    failures=$((failures + 1))
  fi
done
echo "compared $libraries libraries ($corpus_libraries from $corpus), $types types, $members members"
if [ "$corpus_libraries" -lt "$floor" ]; then
  echo "FAILED: only $corpus_libraries libraries read from $corpus, expected at least $floor"
  failures=$((failures + 1))
fi
echo "$((libraries - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
