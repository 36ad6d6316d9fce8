#!/bin/sh
# Starts a Windows program under Wine (inside xvfb-wine.sh), waits, saves the X screen as PNG.
#   screenshot.sh OUT.png DELAY_SECONDS program.exe [args...]
set -eu
out="$1"; delay="$2"; shift 2
: "${DISPLAY:?run under xvfb-wine.sh}"
wine "$@" </dev/null >/dev/null 2>&1 &
pid=$!
sleep "$delay"
/usr/bin/import -display "$DISPLAY" -window root "$out"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
