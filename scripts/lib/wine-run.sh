#!/bin/sh
# Runs one Windows .exe under Wine, non-interactively; the CMAKE_CROSSCOMPILING_EMULATOR of the
# Windows builds, so ctest calls:  wine-run.sh path/to/test.exe [args...]
#  - WINEPREFIX defaults to $WINE_TEST_PREFIX or /tmp/mvpr-wineprefix, made on first use under a lock
#  - mono/gecko off (no installer dialogs), winemenubuilder off (no files in $HOME), winedbg off
#    (a crashing exe otherwise hangs in "starting debugger..."), no debug output
#  - refuses (exit 127) a 32-bit exe where 32-bit Wine cannot run: Wine would silently exit 0 otherwise
#  - the exe's exit code is passed through
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine_lib=$here
. "$here/wine-env.sh"
WINEPREFIX="${WINEPREFIX:-${WINE_TEST_PREFIX:-/tmp/mvpr-wineprefix}}"
WINEDEBUG="${WINEDEBUG:--all}"
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
exe="$1"
# PE machine field: 0x8664 = x86-64, 0x014c = i386
pe_off=$(od -An -tu4 -j60 -N4 "$exe" 2>/dev/null | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_off + 4)) -N2 "$exe" 2>/dev/null | tr -d ' ')
if [ "$machine" = "014c" ] && [ "$WINE32_RUNS" != 1 ]; then
    echo "wine-run.sh: $exe is a 32-bit exe, and 32-bit programs cannot run here: $WINE32_NOTE" >&2
    exit 127
fi
if [ ! -f "$WINEPREFIX/.prefix-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/.prefix-ready" ] || "$0" --init' "$here/wine-prefix-init.sh"
fi
exec wine "$@"
