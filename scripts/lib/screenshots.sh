#!/bin/sh
# Remakes the README's pictures under Xvfb:  scripts/lib/screenshots.sh
# Needs a built win64 tree and imagemagick.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="${WINEPREFIX:-/tmp/mvpr-shots-prefix}"
out="$root/docs"
mkdir -p "$out"
work=$(mktemp -d)
shots=$(mktemp -d)  # not in the program folder, whose file list the pictures show
trap 'rm -rf "$work" "$shots"' EXIT
cp "$root/build/win64/bin/"* "$work/"
cp "$root/build/win64/tests/shot_driver.exe" "$work/"
# sample pictures for the file list to show, in the program folder, where a first start opens
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
"$root/scripts/lib/xvfb-wine.sh" wine "$work/shot_driver.exe" samples "$(winpath "$work")"
shot() {  # shot NAME [action]: the program's window alone, cut from the desktop
    name=$1; shift
    (cd "$work" && "$root/scripts/lib/xvfb-wine.sh" "$root/scripts/lib/screenshot.sh" "$shots/full.png" 6 \
        "$work/shot_driver.exe" "$(winpath "$work")\\MVPR.exe" "$@")
    # the desktop is one colour: trimming it leaves the window
    /usr/bin/convert "$shots/full.png" -fuzz 1% -trim +repage "$out/$name.png"
    echo "wrote $out/$name.png"
}
shot main-window
shot about-box about
shot main-window-preview preview
shot main-window-wallpaper-preview wallpaper-preview
shot make-screen-dialog make-screen
shot make-screen-bar make-screen-bar
shot fullscreen-mirror fullscreen-mirror
shot check-screens check-screens
shot main-window-installed installed
shot main-window-wallpaper-filter wallpaper-filter
