#!/bin/sh
# The load-time imports of the shipped Windows programs against the allowed lists:
#   check-imports.sh BIN_DIR REPORT     every .exe and .dll in BIN_DIR (i686 or x86_64, read from
#                                       the file); writes "program DLL function" lines to REPORT
#   check-imports.sh --self-test        shows that an import missing from the list (GetTickCount64)
#                                       makes the check fail
# i686 programs may import only what allowed-imports.txt lists (what Windows 98 SE has);
# x86_64 programs also what allowed-imports-x64.txt adds (Windows XP x64 / Vista 64-bit).
# Exits 1 when any program imports something else, naming each such import.
set -u
here=$(cd "$(dirname "$0")" && pwd)

# "DLL function" per import of one PE file; DLL names upper case, ordinals as #n.
imports_of() {
    case "$(file_machine "$1")" in
        014c) dump=i686-w64-mingw32-objdump ;;
        8664) dump=x86_64-w64-mingw32-objdump ;;
        *) echo "check-imports.sh: $1 is no Windows program" >&2; return 1 ;;
    esac
    "$dump" -p "$1" | awk '
        /^\tDLL Name: / { dll = toupper($3); next }
        /^$/ { next }
        dll != "" && /^\t[0-9a-f]+\t/ {
            if ($2 ~ /^[0-9]+$/ && NF >= 3) print dll, $3
            else if ($0 ~ /<none>/ || NF == 2) print dll, "#" $2
        }
        /^The Export Tables|^PE File Base Relocations/ { dll = "" }'
}

file_machine() {
    pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

# The allowed "DLL function" lines of a list, without notes and comments.
allowed() {
    sed -e 's/#.*//' "$@" | awk 'NF >= 2 { print toupper($1), $2 }'
}

check_dir() {
    bin=$1 report=$2
    : >"$report"
    status=0
    found=0
    allowed_i686=$(mktemp)
    allowed_x64=$(mktemp)
    allowed "$here/allowed-imports.txt" >"$allowed_i686"
    allowed "$here/allowed-imports.txt" "$here/allowed-imports-x64.txt" >"$allowed_x64"
    for program in "$bin"/*.exe "$bin"/*.dll; do
        [ -f "$program" ] || continue
        found=1
        name=$(basename "$program")
        allow=$allowed_i686
        [ "$(file_machine "$program")" = 8664 ] && allow=$allowed_x64
        list=$(imports_of "$program") || { status=1; continue; }
        echo "$list" | sed "s/^/$name /" >>"$report"
        refused=$(echo "$list" | grep -vxF -f "$allow")
        if [ -n "$refused" ]; then
            echo "$refused" | sed "s/^/imports: $name imports what its list does not allow: /" >&2
            status=1
        else
            echo "imports: $name: $(echo "$list" | wc -l) functions, all allowed"
        fi
    done
    rm -f "$allowed_i686" "$allowed_x64"
    [ "$found" = 1 ] || { echo "imports: no programs in $bin" >&2; return 1; }
    return $status
}

if [ "${1:-}" = --self-test ]; then
    dir=$(mktemp -d)
    trap 'rm -rf "$dir"' EXIT
    mkdir "$dir/bin"
    printf '%s\n' '#include <windows.h>' \
        '__declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);' \
        'int main(void) { return (int)(GetTickCount64() & 1); }' >"$dir/tick.c"
    i686-w64-mingw32-gcc-win32 -O2 -s "$dir/tick.c" -o "$dir/bin/tick.exe" || exit 1
    if check_dir "$dir/bin" "$dir/report" 2>"$dir/err"; then
        echo "imports: the check let a GetTickCount64 import pass" >&2
        exit 1
    fi
    grep -q "KERNEL32.DLL GetTickCount64" "$dir/err" || { cat "$dir/err" >&2; exit 1; }
    echo "imports: the check refuses a GetTickCount64 import, as it must"
    exit 0
fi
check_dir "${1:?usage: check-imports.sh BIN_DIR REPORT | --self-test}" "${2:?usage: check-imports.sh BIN_DIR REPORT}"
