#!/bin/sh
# The processor the 32-bit programs need: a Pentium Pro / Pentium II / Athlon (the statically
# linked C++ runtime already uses CMOV). None of those machines of the Windows 98 era has SSE2, and
# the Pentium II and the first Athlons have no SSE at all, so our own code must use neither.
#   check-cpu.sh BUILD_DIR       checks the object files of our own code in an i686 build tree
#   check-cpu.sh --self-test     shows that an object file built for SSE2 fails the check
# Exits 1 naming each object file that holds an SSE or SSE2 instruction (any use of an XMM
# register, or the SSE-only prefetch and fence instructions).
set -u
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
pattern='%xmm|prefetch|[lms]fence|movnti'

check_objects() {
    status=0
    for obj in "$@"; do
        # An object file objdump cannot read (not i686 code) is no proof of anything.
        if ! code=$("$objdump" -d "$obj" 2>&1); then
            echo "cpu: cannot disassemble $obj"
            status=1
            continue
        fi
        found=$(printf '%s\n' "$code" | grep -E -c "$pattern")
        if [ "$found" != 0 ]; then
            echo "cpu: $obj holds $found SSE/SSE2 instructions:"
            printf '%s\n' "$code" | grep -E "$pattern" | head -n 3
            status=1
        fi
    done
    return $status
}

if [ "${1:-}" = --self-test ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    printf 'float Scale(const float* a) { return a[0] * a[1]; }\n' >"$tmp/sse.cpp"
    cxx=${CXX_I686:-i686-w64-mingw32-g++-win32}
    "$cxx" -O2 -c "$tmp/sse.cpp" -o "$tmp/plain.obj" || exit 1
    "$cxx" -O2 -msse2 -mfpmath=sse -c "$tmp/sse.cpp" -o "$tmp/sse.obj" || exit 1
    if ! check_objects "$tmp/plain.obj" >/dev/null; then
        echo "cpu: the self-test's plain object file was refused"
        exit 1
    fi
    if check_objects "$tmp/sse.obj" >/dev/null; then
        echo "cpu: the check let an SSE2 object file through"
        exit 1
    fi
    echo "cpu: the check refuses an object file built for SSE2, as it must"
    exit 0
fi

build=${1:?usage: check-cpu.sh BUILD_DIR | --self-test}
# Our own code: the programs, the library and their static libraries (tests and googletest are not
# shipped).
objects=$(find "$build/src" "$build/randomizer" "$build/nviewlib" -name '*.obj' 2>/dev/null | sort)
if [ -z "$objects" ]; then
    echo "cpu: no object files under $build"
    exit 1
fi
# shellcheck disable=SC2086
check_objects $objects || exit 1
echo "cpu: $(echo "$objects" | wc -l) object files of our own, none with an SSE or SSE2 instruction"
