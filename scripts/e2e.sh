#!/bin/sh
# Runs the end-to-end tests (pytest under Wine and Xvfb). As root, where network namespaces can
# be made, two pytest sessions run at once, each in a network namespace of its own (each serves
# its local site on port 443) with a display and a Wine prefix of its own; they take whole test
# files from a shared queue (tests/e2e/conftest.py), the longest first, so that both finish at
# about the same time. Elsewhere, or with TAVLO_E2E_SHARDS=1, one session runs them all.
# Arguments are passed to pytest.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
PYTEST="/usr/bin/python3 -m pytest -q -p no:cacheprovider --durations=8"
if [ "${TAVLO_E2E_SHARDS:-2}" != 2 ] || [ "$(id -u)" != 0 ] ||
   ! unshare -n sh -c 'ip link set lo up' 2>/dev/null; then
  exec $PYTEST "$@" tests/e2e
fi
LOGS=$ROOT/build/e2e-logs
rm -rf "$LOGS"
mkdir -p "$LOGS"
# The queue: the files by their length (a rough measure of their time), the longest first.
export TAVLO_E2E_QUEUE="$LOGS/queue"
for f in tests/e2e/test_*.py; do echo "$(wc -l < "$f") $(basename "$f")"; done |
  sort -rn | cut -d' ' -f2 > "$TAVLO_E2E_QUEUE"
worker() {  # name, display base, pytest arguments...
  name=$1; base=$2; shift 2
  TAVLO_E2E_DISPLAY_BASE=$base unshare -n sh -c 'ip link set lo up && exec "$@"' sh \
    $PYTEST "$@" tests/e2e > "$LOGS/$name.log" 2>&1
}
start=$(date +%s)
worker worker1 90 "$@" &
first=$!
worker worker2 140 "$@" &
second=$!
status=0
wait $first || status=1
wait $second || status=1
for name in worker1 worker2; do
  echo "-- $name"
  cat "$LOGS/$name.log"
done
echo "end-to-end: $(( $(date +%s) - start )) s"
exit $status
