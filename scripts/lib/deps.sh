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

# Installs the 32-bit Wine (wine32:i386) that the i686 suites run on, as root; it adds the i386
# architecture first. Apt then also upgrades some amd64 libraries to the matching versions.
# Without root it says what it would do and returns 1.
ensure_wine32() {
    [ -x /usr/lib/wine/wine ] && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "No 32-bit Wine. Run as root:" >&2
        echo "  dpkg --add-architecture i386 && apt-get update && apt-get install -y --no-install-recommends wine32:i386" >&2
        return 1
    fi
    echo "Installing: wine32:i386 (adds the i386 architecture)" >&2
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 || return 1
    apt-get update -qq >/dev/null || { echo "apt-get update failed" >&2; return 1; }
    apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null || {
        echo "apt-get install failed for: wine32:i386" >&2; return 1; }
}

# What building the Windows programs needs: the win32 thread model (no winpthreads), and the
# binutils' objdump for the import check.
BUILD_PACKAGES="cmake ninja-build g++ g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 googletest"
# What running them under Wine needs (wine32 for the i686 suites: ensure_wine32).
WINE_PACKAGES="wine wine64 xvfb xauth fonts-wine"
# Host unit tests, fuzzing and benchmarks.
HOST_TEST_PACKAGES="libgtest-dev clang libclang-rt-14-dev libbenchmark-dev"
