#!/bin/sh
# Runs every libFuzzer target on its kept corpus. The CI run gives the text primitives 32 s and
# every other target 11 s (TAVLO_FUZZ_SECONDS sets one time for all), in two lanes at once that
# take the targets in turn, niced: they run beside the Win32 tests, which mostly wait and must
# not be slowed. With --long each target runs 300 s (or TAVLO_FUZZ_SECONDS), in one lane, on a
# corpus kept in build/fuzz/long-corpus/<target> from one long run to the next.
# Prints, per target, the executions and the corpus size; a finding fails the CI run once its
# lane has ended, while the long run goes on with the next target and fails at its end.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build/fuzz
long=0
[ "${1:-}" = "--long" ] && long=1
CLAIMS=$B/claims
rm -rf "$CLAIMS"
mkdir -p "$CLAIMS"

fuzz_one() {  # target executable; returns 1 on a finding
  exe=$1
  name=$(basename "$exe")
  corpus=$ROOT/tests/fuzz/corpus/$name
  if [ $long = 1 ]; then
    work=$B/long-corpus/$name
    seconds=${TAVLO_FUZZ_SECONDS:-300}
  else
    work=$B/corpus-$name
    case $name in
      textcut_fuzz) seconds=32 ;;
      *) seconds=11 ;;
    esac
    seconds=${TAVLO_FUZZ_SECONDS:-$seconds}
  fi
  mkdir -p "$work"
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzzing $name for $seconds s"
  if ! nice "$exe" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$B/" "$work" >"$B/$name.log" 2>&1; then
    tail -40 "$B/$name.log"
    echo "fuzzer $name found a fault"
    return 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$B/$name.log")
  units=$(find "$work" -type f | wc -l)
  echo "$name: $runs executions in $seconds s, corpus $units inputs, no finding"
}

lane() {  # takes targets that no other lane has claimed, the longest first; fails on a finding
  found=""
  for exe in "$B"/textcut_fuzz "$B"/*_fuzz; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue  # not the corpus folders beside them
    mkdir "$CLAIMS/$(basename "$exe")" 2>/dev/null || continue
    if ! fuzz_one "$exe"; then
      found="$found $(basename "$exe")"
      [ $long = 1 ] || break
    fi
  done
  if [ -n "$found" ]; then
    echo "faults found by:$found"
    return 1
  fi
}

if [ $long = 1 ]; then
  lane
  exit
fi
lane &
first=$!
lane &
second=$!
status=0
wait $first || status=1
wait $second || status=1
exit $status
