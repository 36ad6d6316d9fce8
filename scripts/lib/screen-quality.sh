#!/bin/sh
# Speed and colour error of making screens from three 4000 x 3000 photographs, against
# ImageMagick in the same run:  scripts/lib/screen-quality.sh
# Installs imagemagick when run as root and it is missing.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
. "$root/scripts/lib/deps.sh"
ensure_packages imagemagick libbenchmark-dev || true
cmake --preset bench >/dev/null
cmake --build --preset bench --target screen_bench >/dev/null
exec build/bench/tests/bench/screen_bench "$@"
