#!/bin/sh
# Runs the end-to-end tests (pytest under Wine and Xvfb), one file after the other. With
# TAVLO_E2E_SHARDS=2, as root, the files are dealt to two shards that run at once, each in a
# network namespace of its own (each serves its local site on port 443) with displays of its
# own. Not the default: the two sites then update the host's trust store at the same time, and
# timing-bound tests are slower on a loaded machine.
# Arguments are passed to pytest.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
PYTEST="/usr/bin/python3 -m pytest -q"
if [ "${TAVLO_E2E_SHARDS:-1}" != 2 ] || [ "$(id -u)" != 0 ] || ! unshare -n true 2>/dev/null; then
  exec $PYTEST "$@" tests/e2e
fi
EXTRA="$*"
# Deal the files by their length (a rough measure of their time), the longest first, each to
# the lighter shard.
shards=$(for f in tests/e2e/test_*.py; do echo "$(wc -l < "$f") $f"; done |
  sort -rn | awk '{ if (a <= b) { a += $1; s1 = s1 " " $2 } else { b += $1; s2 = s2 " " $2 } }
                  END { print s1 "|" s2 }')
one=${shards%%|*}
two=${shards#*|}
LOGS=$ROOT/build/e2e-logs
mkdir -p "$LOGS"
run_shard() {  # name, display base, files...
  name=$1; base=$2; shift 2
  TAVLO_E2E_DISPLAY_BASE=$base unshare -n sh -c 'ip link set lo up && exec "$@"' sh \
    $PYTEST -p no:cacheprovider $EXTRA "$@" > "$LOGS/$name.log" 2>&1
}
start=$(date +%s)
# shellcheck disable=SC2086
run_shard shard1 90 $one &
first=$!
# shellcheck disable=SC2086
run_shard shard2 140 $two &
second=$!
status=0
wait $first || status=1
wait $second || status=1
for name in shard1 shard2; do
  echo "-- $name"
  cat "$LOGS/$name.log"
done
echo "end-to-end: $(( $(date +%s) - start )) s"
exit $status
