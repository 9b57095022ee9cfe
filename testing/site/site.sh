#!/bin/sh
# Starts and stops the local HTTPS site on https://localhost/ (port 443, run as root).
#
#   site.sh start <docroot> [state-dir]   serve <docroot> in the background; returns when ready
#   site.sh stop [state-dir]              stop it, take its CA out of the trust store
#   site.sh serve <docroot> [state-dir]   serve in the foreground until Ctrl+C
#   site.sh demo [state-dir]              start the bundled demo site in the background
#
# The state folder (default $TAVLO_SITE_STATE or /tmp/tavlo-site) holds requests.log, the
# public CA certificate ca.crt, server.pid and server.err. TAVLO_SITE_WAIT (default 120) is how
# long to wait for port 443 when another site holds it; TAVLO_SITE_LIFETIME (default 0, no
# limit) stops a background site after that many seconds even if nobody stops it.
set -e
HERE=$(cd "$(dirname "$0")" && pwd)
PYTHON=/usr/bin/python3
WAIT=${TAVLO_SITE_WAIT:-120}
LIFETIME=${TAVLO_SITE_LIFETIME:-0}

state_dir() { echo "${1:-${TAVLO_SITE_STATE:-/tmp/tavlo-site}}"; }

running_pid() {  # state dir; prints the pid of a live site started from it
  [ -f "$1/server.pid" ] || return 1
  pid=$(cat "$1/server.pid")
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 1
  echo "$pid"
}

stop() {
  state=$(state_dir "$1")
  if pid=$(running_pid "$state"); then
    kill -TERM "$pid"
    # The site removes its CA from the trust store on the way out; give it time.
    i=0
    while kill -0 "$pid" 2>/dev/null; do
      i=$((i + 1))
      if [ $i -gt 300 ]; then
        echo "site.sh: the site (pid $pid) did not stop within 30 s" >&2
        return 1
      fi
      sleep 0.1
    done
    echo "site.sh: stopped the site of $state"
  fi
  rm -f "$state/server.pid"
}

start() {
  docroot=$1
  state=$(state_dir "$2")
  if [ -z "$docroot" ] || [ ! -d "$docroot" ]; then
    echo "site.sh: no such document folder: '$docroot'" >&2
    return 2
  fi
  mkdir -p "$state"
  stop "$state" >/dev/null
  rm -f "$state/ready"
  : > "$state/requests.log"
  "$PYTHON" "$HERE/server.py" --docroot "$docroot" --state "$state" --wait "$WAIT" \
    --lifetime "$LIFETIME" </dev/null >/dev/null 2>"$state/server.err" &
  pid=$!
  echo "$pid" > "$state/server.pid"
  # Ready when the server has bound the port and put its CA into the trust store.
  while [ ! -f "$state/ready" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "site.sh: the site did not start:" >&2
      cat "$state/server.err" >&2
      rm -f "$state/server.pid"
      return 1
    fi
    sleep 0.1
  done
  echo "site.sh: serving $docroot on https://localhost/ (state $state)"
}

case "$1" in
  start) start "$2" "$3" ;;
  stop) stop "$2" ;;
  serve)
    state=$(state_dir "$3")
    mkdir -p "$state"
    exec "$PYTHON" "$HERE/server.py" --docroot "$2" --state "$state" --wait "$WAIT" ;;
  demo) start "$HERE/demo" "$2" ;;
  *)
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
    exit 2 ;;
esac
