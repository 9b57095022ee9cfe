#!/bin/sh
# Runs every libFuzzer target on its kept corpus. The CI run shares about two minutes among the
# targets: the text primitives 32 s, every other target 11 s (TAVLO_FUZZ_SECONDS sets one time
# for all). With --long each target runs 300 s (or TAVLO_FUZZ_SECONDS), niced, on a corpus kept
# in build/fuzz/long-corpus/<target> from one long run to the next.
# Prints, per target, the executions and the corpus size; a finding stops the CI run, while the
# long run goes on with the next target and fails at its end.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build/fuzz
long=0
[ "${1:-}" = "--long" ] && long=1
found=""
for exe in "$B"/*_fuzz; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue  # not the corpus folders beside them
  name=$(basename "$exe")
  corpus=$ROOT/tests/fuzz/corpus/$name
  if [ $long = 1 ]; then
    work=$B/long-corpus/$name
    seconds=${TAVLO_FUZZ_SECONDS:-300}
    run="nice"
  else
    work=$B/corpus-$name
    case $name in
      textcut_fuzz) seconds=32 ;;
      *) seconds=11 ;;
    esac
    seconds=${TAVLO_FUZZ_SECONDS:-$seconds}
    run=""
  fi
  mkdir -p "$work"
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzzing $name for $seconds s"
  # shellcheck disable=SC2086
  if ! $run "$exe" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$B/" "$work" >"$B/$name.log" 2>&1; then
    tail -40 "$B/$name.log"
    echo "fuzzer $name found a fault"
    [ $long = 1 ] || exit 1
    found="$found $name"
    continue
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$B/$name.log")
  units=$(find "$work" -type f | wc -l)
  echo "$name: $runs executions in $seconds s, corpus $units inputs, no finding"
done
if [ -n "$found" ]; then
  echo "faults found by:$found"
  exit 1
fi
