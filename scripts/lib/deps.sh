# Sourced by scripts/run and scripts/test: installs the Debian packages a command needs.
# As root the missing ones are installed; otherwise the exact apt-get line is printed.
ensure_packages() {
    missing=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" = 0 ]; then
        echo "Installing:$missing" >&2
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq >/dev/null || { echo "apt-get update failed" >&2; return 1; }
        # shellcheck disable=SC2086
        apt-get install -y -qq --no-install-recommends $missing >/dev/null || {
            echo "apt-get install failed for:$missing" >&2; return 1; }
    else
        echo "Missing packages. Run as root:" >&2
        echo "  apt-get install -y --no-install-recommends$missing" >&2
        return 1
    fi
}

# What building the Windows programs needs.
BUILD_PACKAGES="cmake ninja-build g++ mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest"
# What running them under Wine needs (wine32 is deliberately not here: see the README).
WINE_PACKAGES="wine wine64 xvfb xauth fonts-wine"
# Host unit tests, fuzzing and benchmarks.
HOST_TEST_PACKAGES="libgtest-dev clang libclang-rt-14-dev libbenchmark-dev"
