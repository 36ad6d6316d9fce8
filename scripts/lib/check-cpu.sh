#!/bin/sh
# The processor the 32-bit programs need: a Pentium Pro / Pentium II / Athlon (the statically
# linked C++ runtime already uses CMOV). None of those machines of the Windows 98 era has SSE2, and
# the Pentium II and the first Athlons have no SSE at all, so our own code must use neither, except
# in the functions chosen at run time where the processor and the system run SSE2: those, and only
# those, have names ending in Sse2 (PixelRowsSse2.h).
#   check-cpu.sh BUILD_DIR       checks the object files of our own code in an i686 build tree
#   check-cpu.sh --self-test     shows that SSE2 outside an ...Sse2 function fails the check
# Exits 1 naming each object file that holds an SSE or SSE2 instruction (any use of an XMM
# register, or the SSE-only prefetch and fence instructions) in a function of another name.
set -u
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
pattern='%xmm|prefetch|[lms]fence|movnti'

# Prints "function: instruction" for each SSE/SSE2 instruction outside an ...Sse2 function of
# the disassembly on standard input (demangled: a template's arguments and the parameter list
# follow the name).
sse_outside() {
    awk -v pattern="$pattern" '
        /^[0-9a-f]+ <.*>:$/ {
            fn = $0
            sub(/^[0-9a-f]+ </, "", fn)
            sub(/>:$/, "", fn)
            name = fn
            sub(/\(.*/, "", name)
            sub(/<[^<>]*>$/, "", name)
            allowed = name ~ /Sse2$/
            next
        }
        $0 ~ pattern && !allowed { print fn ":" $0 }'
}

check_objects() {
    status=0
    for obj in "$@"; do
        # An object file objdump cannot read (not i686 code) is no proof of anything.
        if ! code=$("$objdump" -d -C "$obj" 2>&1); then
            echo "cpu: cannot disassemble $obj"
            status=1
            continue
        fi
        found=$(printf '%s\n' "$code" | sse_outside)
        if [ -n "$found" ]; then
            echo "cpu: $obj holds $(printf '%s\n' "$found" | wc -l) SSE/SSE2 instructions outside ...Sse2 functions:"
            printf '%s\n' "$found" | head -n 3
            status=1
        fi
    done
    return $status
}

if [ "${1:-}" = --self-test ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    cxx=${CXX_I686:-i686-w64-mingw32-g++-win32}
    # The same SSE2 arithmetic in a function named for it and in one that is not; a whole file
    # built for SSE2.
    cat >"$tmp/sse.cpp" <<'EOF_SRC'
#include <emmintrin.h>
float Scale(const float* a) { return a[0] * a[1]; }
#ifdef NAME
__attribute__((target("sse2"))) int NAME(const int* a) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    return _mm_cvtsi128_si32(_mm_add_epi32(v, _mm_srli_si128(v, 8)));
}
#endif
EOF_SRC
    "$cxx" -O2 -c "$tmp/sse.cpp" -o "$tmp/plain.obj" || exit 1
    "$cxx" -O2 -DNAME=SumSse2 -c "$tmp/sse.cpp" -o "$tmp/named.obj" || exit 1
    "$cxx" -O2 -DNAME=Sum -c "$tmp/sse.cpp" -o "$tmp/unnamed.obj" || exit 1
    "$cxx" -O2 -msse2 -mfpmath=sse -c "$tmp/sse.cpp" -o "$tmp/sse.obj" || exit 1
    for ok in plain named; do
        if ! check_objects "$tmp/$ok.obj" >/dev/null; then
            echo "cpu: the self-test's $ok object file was refused"
            exit 1
        fi
    done
    for bad in unnamed sse; do
        if check_objects "$tmp/$bad.obj" >/dev/null; then
            echo "cpu: the check let SSE2 through in the self-test's $bad object file"
            exit 1
        fi
    done
    if ! "$objdump" -d "$tmp/named.obj" | grep -q '%xmm'; then
        echo "cpu: the self-test's SSE2 function holds no SSE2 instruction"
        exit 1
    fi
    echo "cpu: the check refuses SSE2 outside an ...Sse2 function and in a file built for SSE2, as it must"
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
echo "cpu: $(echo "$objects" | wc -l) object files of our own, no SSE or SSE2 instruction outside an ...Sse2 function"
