#!/bin/sh
# Makes a Wine prefix for the tests:  WINEPREFIX=/tmp/x wine-prefix-init.sh --init
#  - 64-bit prefix, no mono/gecko
#  - a 1024x768 virtual desktop (unless WINE_VIRTUAL_DESKTOP=0): without a window manager every
#    hide or destroy of a top-level window otherwise waits 2 s inside winex11.drv
#  - fonts-wine's fonts linked into C:\windows\Fonts, or every face falls back to DejaVu
set -eu
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d}"
# without DISPLAY wineboot shows no progress window and is faster
env -u DISPLAY WINEARCH="${WINEARCH:-win64}" wine wineboot -i >/dev/null 2>&1
if [ "${WINE_VIRTUAL_DESKTOP:-1}" = 1 ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${WINE_DESKTOP_SIZE:-1024x768}" /f >/dev/null 2>&1
fi
if [ -d /usr/share/wine/fonts ]; then
    for f in /usr/share/wine/fonts/*; do ln -sf "$f" "$WINEPREFIX/drive_c/windows/Fonts/"; done
fi
wineserver -w   # the desktop settings are read when the desktop starts
touch "$WINEPREFIX/.prefix-ready"
