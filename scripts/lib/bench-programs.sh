#!/bin/sh
# Times the programs as a user meets them, each against its baseline in the same run: start-up
# with 4 x 25,000 entries against an empty list, and the randomizer with 4 x 25,000 nearly all
# missing files against a short list.  scripts/lib/bench-programs.sh [rounds] [preset]
# Prints the figures, the ratios and the machine's load. Not part of scripts/test.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds=${1:-3}
preset=${2:-win64}
cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target program_bench >/dev/null
export WINEPREFIX="${WINEPREFIX:-/tmp/mvpr-bench-$(id -u)/prefix}"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$root/scripts/lib/xvfb-wine.sh" "$root/scripts/lib/wine-run.sh" "build/$preset/tests/program_bench.exe" "$rounds"
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
