#!/bin/sh
# Runs a command (ctest, a program) with one private Xvfb at 1024x768x24 and one warm,
# persistent wineserver for $WINEPREFIX; stops that wineserver before Xvfb goes away.
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine_lib=$here
. "$here/wine-env.sh"
export WINEPREFIX="${WINEPREFIX:-${WINE_TEST_PREFIX:-/tmp/mvpr-wineprefix}}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d}"
mkdir -p "$(dirname "$WINEPREFIX")"
[ -f "$WINEPREFIX/.prefix-ready" ] || flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/.prefix-ready" ] || "$0" --init' "$here/wine-prefix-init.sh"
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh -c '
  wineserver -p
  # Start services.exe and the desktop now, with stdio on /dev/null: started by the first test
  # they would inherit its stdout pipe and ctest would wait for them.
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
  # The first 32-bit process of a prefix sets up WoW64 first (30 s and more): do it here, once,
  # rather than inside the first timed i686 test.
  if [ "$WINE32_RUNS" = 1 ] && [ ! -f "$WINEPREFIX/.wow64-ready" ]; then
      wine "C:\\windows\\syswow64\\rundll32.exe" user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
      touch "$WINEPREFIX/.wow64-ready"
  fi
  "$@"; rc=$?
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  exit $rc' sh "$@"
