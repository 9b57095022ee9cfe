# Sourced by the scripts that run Windows programs: one Wine prefix per build tree, Japanese
# locale (ANSI code page 932), no Wine debug output. Creates the prefix on first use.
: "${TAVLO_BUILD:=$(cd "$(dirname "$0")/.." && pwd)/build}"
: "${WINEPREFIX:=$TAVLO_BUILD/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Without a display the Win32 tests still create windows: Wine's null graphics driver then;
# with one, the normal driver.
if [ -n "$DISPLAY" ]; then
  wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
else
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
fi
