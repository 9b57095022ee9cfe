#!/bin/sh
# The one test command: installs what is missing, builds everything, runs all three layers.
# --random-keys adds the ten thousand random keystrokes to the end-to-end run (several minutes).
set -e
for arg in "$@"; do
  case $arg in
    --random-keys) export TAVLO_RANDOM_KEYS=1 ;;
  esac
done
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build
START=$(date +%s)
stage() {  # a stage's heading, with the minutes and seconds since the start
  elapsed=$(( $(date +%s) - START ))
  printf '== [%d:%02d] %s\n' $((elapsed / 60)) $((elapsed % 60)) "$1"
}
sh "$ROOT/scripts/setup.sh"
stage "layering: no folder includes one above it"
sh "$ROOT/scripts/check-layers.sh"
stage "building"
"$ROOT/scripts/build.sh"
stage "packaging: zips and installers"
TAVLO_PACKAGE_NOBUILD=1 sh "$ROOT/scripts/package.sh"
stage "native unit tests"
ctest --test-dir "$B/native" --output-on-failure -j 2
stage "native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --test-dir "$B/asan" --output-on-failure -j 2
# The Win32 tests mostly wait (for the site, for speech delays, for deadlines): they run beside
# the fuzzers, whose two niced lanes take what the tests leave of the two cores.
stage "fuzzing, and beside it the Win32 tests under Wine"
ctest --test-dir "$B/win64" --output-on-failure > "$B/win32-tests.log" 2>&1 &
win32_tests=$!
fuzzing=0
"$ROOT/scripts/fuzz.sh" || fuzzing=1
win32=0
wait $win32_tests || win32=1
stage "Win32 tests under Wine (run beside the fuzzers)"
cat "$B/win32-tests.log"
[ $fuzzing = 0 ] && [ $win32 = 0 ] || exit 1
stage "end-to-end tests: Tavlo.exe under Wine and Xvfb"
sh "$ROOT/scripts/e2e.sh"
stage "all tests passed"
