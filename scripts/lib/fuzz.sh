#!/bin/sh
# Runs every libFuzzer target (tests/fuzz/*_fuzz.cpp) for a bounded time, one after another.
#   scripts/lib/fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]     (default 25, or $MVPR_FUZZ_SECONDS)
# Configures BUILD_DIR as a clang fuzz build when it is not one yet, builds it, writes the seed
# corpus, and keeps the corpus growing in BUILD_DIR/corpus/<target> from run to run. A crash,
# leak or timeout is saved in BUILD_DIR/crashes/<target>/ and makes the script exit 1: keep the
# input as a regression case (its bytes inline) in the parser's unit tests, tests/unit/. The targets:
# bmp_fuzz, pcx_fuzz, tga_fuzz (pictures), listfile_fuzz (the list file), msdossys_fuzz (the
# MSDOS.SYS editor of "Check Screens").
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]}
seconds=${2:-${MVPR_FUZZ_SECONDS:-25}}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMVPR_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j2 >"$build/fuzz-build.log" 2>&1 || { cat "$build/fuzz-build.log"; exit 1; }
"$build/tests/fuzz/fuzz_seeds" "$build/corpus" >/dev/null

status=0
for exe in "$build"/tests/fuzz/*_fuzz; do
    name=$(basename "$exe")
    mkdir -p "$build/corpus/$name" "$build/crashes/$name"
    log="$build/crashes/$name.log"
    if "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 -use_value_profile=1 \
        -artifact_prefix="$build/crashes/$name/" "$build/corpus/$name" >"$log" 2>&1; then
        runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
        echo "fuzz $name: ok, ${runs:-?} inputs in ${seconds}s, corpus $(ls "$build/corpus/$name" | wc -l)"
    else
        echo "fuzz $name: FAILED (log $log, input in $build/crashes/$name/)"
        grep -E 'ERROR|fuzz check failed|runtime error|SUMMARY|Test unit written' "$log" | head -20
        status=1
    fi
done
exit $status
