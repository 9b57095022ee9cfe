#!/bin/sh
# The one test command: installs what is missing, builds everything, runs all three layers.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build
sh "$ROOT/scripts/setup.sh"
echo "== layering: no folder includes one above it"
sh "$ROOT/scripts/check-layers.sh"
"$ROOT/scripts/build.sh"
echo "== packaging: zips and installers"
TAVLO_PACKAGE_NOBUILD=1 sh "$ROOT/scripts/package.sh"
echo "== native unit tests"
ctest --test-dir "$B/native" --output-on-failure -j 2
echo "== native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --test-dir "$B/asan" --output-on-failure -j 2
echo "== fuzzing"
"$ROOT/scripts/fuzz.sh"
echo "== Win32 tests under Wine"
ctest --test-dir "$B/win64" --output-on-failure
echo "== end-to-end tests: Tavlo.exe under Wine and Xvfb"
cd "$ROOT" && /usr/bin/python3 -m pytest -q tests/e2e
