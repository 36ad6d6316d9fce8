#!/bin/sh
# Times rendering plus writing the wallpaper work file (Tiled, 3840x2160) as a whole process
# against ImageMagick tiling the same picture into a BMP:  scripts/lib/bench-wallpaper.sh [runs]
# Prints the best time of each and their ratio. Not part of scripts/test.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
# The real binary: /usr/local/bin/convert may be a wrapper.
im=/usr/bin/convert-im6.q16
if [ ! -x "$im" ]; then
    . "$root/scripts/lib/deps.sh"
    ensure_packages imagemagick
fi
cmake --preset bench >/dev/null
cmake --build --preset bench --target wallpaper_write wallpaper_bench >/dev/null
tool="$root/build/bench/tests/bench/wallpaper_write"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$im" -size 300x200 plasma:fractal -seed 7 BMP3:"$work/tile.bmp"

now() { date +%s%N; }
best() {  # best RUNS COMMAND...: the fastest wall time in milliseconds
    n=$1; shift
    b=""
    i=0
    while [ "$i" -lt "$n" ]; do
        t0=$(now); "$@"; t1=$(now)
        t=$(( (t1 - t0) / 1000000 ))
        if [ -z "$b" ] || [ "$t" -lt "$b" ]; then b=$t; fi
        i=$((i + 1))
    done
    echo "$b"
}
imagemagick=$(best "$runs" "$im" -size 3840x2160 tile:"$work/tile.bmp" "$work/out.bmp")
ours32=$(best "$runs" "$tool" "$work/tile.bmp" "$work/work32.bmp" Tiled 3840 2160 32)
ours24=$(best "$runs" "$tool" "$work/tile.bmp" "$work/work24.bmp" Tiled 3840 2160 24)
echo "ImageMagick tile:tile.bmp -> out.bmp      ${imagemagick} ms"
echo "render + write work file, 32 bits        ${ours32} ms"
echo "render + write work file, 24 bits        ${ours24} ms"
awk -v a="$ours32" -v b="$ours24" -v m="$imagemagick" \
    'BEGIN { printf "ratio to ImageMagick: %.3f x (32 bits), %.3f x (24 bits)\n", a / m, b / m }'
