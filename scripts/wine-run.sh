#!/bin/sh
# Runs one Windows program under Wine (the emulator CTest uses for the Win32 tests).
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
