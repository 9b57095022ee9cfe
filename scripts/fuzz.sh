#!/bin/sh
# Runs every libFuzzer target on its kept corpus: the text primitives for 40 s, the page
# extraction and feed targets for 20 s each (TAVLO_FUZZ_SECONDS sets one time for all).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build/fuzz
for exe in "$B"/*_fuzz; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue  # not the corpus-* folders beside them
  name=$(basename "$exe")
  corpus=$ROOT/tests/fuzz/corpus/$name
  work=$B/corpus-$name
  mkdir -p "$work"
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  case $name in
    textcut_fuzz) seconds=40 ;;
    *) seconds=20 ;;
  esac
  seconds=${TAVLO_FUZZ_SECONDS:-$seconds}
  echo "fuzzing $name for $seconds s"
  if ! "$exe" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$B/" "$work" >"$B/$name.log" 2>&1; then
    tail -40 "$B/$name.log"
    echo "fuzzer $name found a fault"
    exit 1
  fi
  grep -E 'stat::number_of_executed_units|Done' "$B/$name.log" || true
done
