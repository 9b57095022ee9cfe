#!/bin/sh
# Runs the end-to-end tests (pytest under Wine and Xvfb). As root, where network namespaces can
# be made, TAVLO_E2E_SHARDS pytest sessions (three by default) run at once, each in a network
# namespace of its own (each serves its local site on port 443) with a display and a Wine
# prefix of its own. The tests mostly wait (for speech delays, timers, the site), so three
# sessions keep two cores busy where two left them half idle. The sessions take whole test
# files from a shared queue (tests/e2e/conftest.py), the longest first by the times in
# tests/e2e/durations.txt, so that they finish at about the same time. Elsewhere, or with
# TAVLO_E2E_SHARDS=1, one session runs them all. Arguments are passed to pytest.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
PYTEST="/usr/bin/python3 -m pytest -q -p no:cacheprovider --durations=8"
SHARDS=${TAVLO_E2E_SHARDS:-3}
if [ "$SHARDS" -lt 2 ] || [ "$(id -u)" != 0 ] || ! unshare -n sh -c 'ip link set lo up' 2>/dev/null; then
  exec $PYTEST "$@" tests/e2e
fi
LOGS=$ROOT/build/e2e-logs
rm -rf "$LOGS"
mkdir -p "$LOGS"
# The queue: the files by their last measured seconds, the longest first; a file not measured
# yet goes first, by its length.
export TAVLO_E2E_QUEUE="$LOGS/queue"
for f in tests/e2e/test_*.py; do
  name=$(basename "$f")
  seconds=$(awk -v n="$name" '$2 == n { print $1 }' tests/e2e/durations.txt)
  echo "${seconds:-$((100000 + $(wc -l < "$f")))} $name"
done | sort -rn | cut -d' ' -f2 > "$TAVLO_E2E_QUEUE"
worker() {  # name, display base, pytest arguments...
  name=$1; base=$2; shift 2
  TAVLO_E2E_DISPLAY_BASE=$base unshare -n sh -c 'ip link set lo up && exec "$@"' sh \
    $PYTEST --junitxml="$LOGS/$name.xml" "$@" tests/e2e > "$LOGS/$name.log" 2>&1
}
start=$(date +%s)
pids=""
i=1
while [ $i -le "$SHARDS" ]; do
  worker worker$i $((40 + 50 * i)) "$@" &
  pids="$pids $!"
  i=$((i + 1))
done
status=0
for pid in $pids; do
  wait "$pid" || status=1
done
i=1
while [ $i -le "$SHARDS" ]; do
  echo "-- worker$i"
  cat "$LOGS/worker$i.log"
  i=$((i + 1))
done
echo "-- seconds per file (the queue's order comes from tests/e2e/durations.txt)"
/usr/bin/python3 "$ROOT/tests/e2e/filetimes.py" "$LOGS"/worker*.xml || true
echo "end-to-end: $(( $(date +%s) - start )) s"
exit $status
