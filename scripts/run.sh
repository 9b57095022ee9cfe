#!/bin/sh
# Installs what is missing, builds the Windows program folder and runs Tavlo under Wine.
# With a display: the real window, for you to drive. Without one: a scripted walk under Xvfb
# that prints what the user hears and saves a screenshot.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
sh "$ROOT/scripts/setup.sh"
TAVLO_TREES=win64 "$ROOT/scripts/build.sh"
if [ -n "$DISPLAY" ]; then
  . "$ROOT/scripts/wine-env.sh"
  cd "$ROOT/build/win64/Tavlo"
  exec wine Tavlo.exe
fi
exec /usr/bin/python3 "$ROOT/tests/e2e/walk.py"
