#!/bin/sh
# Runs every libFuzzer target for TAVLO_FUZZ_SECONDS (default 60) on its kept corpus.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build/fuzz
for exe in "$B"/*_fuzz; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe")
  corpus=$ROOT/tests/fuzz/corpus/$name
  work=$B/corpus-$name
  mkdir -p "$work"
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzzing $name for ${TAVLO_FUZZ_SECONDS:-60} s"
  if ! "$exe" -max_total_time="${TAVLO_FUZZ_SECONDS:-60}" -print_final_stats=1 \
       -artifact_prefix="$B/" "$work" >"$B/$name.log" 2>&1; then
    tail -40 "$B/$name.log"
    echo "fuzzer $name found a fault"
    exit 1
  fi
  grep -E 'stat::number_of_executed_units|Done' "$B/$name.log" || true
done
