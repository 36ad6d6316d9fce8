#!/bin/sh
# The floors of the sources: each folder includes only its own headers and those of the floors
# below it, so every include points down and no two folders lean on each other.
#   check-floors.sh [ROOT]       checks the tree at ROOT (the repository by default)
#   check-floors.sh --self-test  shows that an include running up (win/ including app/) fails
# A bare include ("Name.h") must name a file of the same folder. Tests are not bound by floors.
# Exits 1 when any include runs up, naming each one.
set -u
here=$(cd "$(dirname "$0")" && pwd)

# folder: the top folders (under src/ or the root) its files may include
floors() {
    cat <<'EOF'
src/win: win
src/lists: win lists
src/imaging: win lists imaging
src/system: win lists imaging system
nviewlib: win lists imaging
src/app: win lists imaging system app res
randomizer: win lists imaging system res
EOF
}

check_tree() {
    root=$1
    status=0
    floors >"$tmp/floors"
    while IFS=: read -r folder allowed; do
        [ -d "$root/$folder" ] || continue
        for file in $(find "$root/$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) | sort); do
            sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" >"$tmp/includes"
            while read -r inc; do
                case "$inc" in
                    */*)
                        top=${inc%%/*}
                        case " $allowed " in *" $top "*) continue ;; esac
                        ;;
                    *) [ -f "$(dirname "$file")/$inc" ] && continue ;;
                esac
                echo "floors: ${file#"$root"/} includes \"$inc\", which is not below $folder" >&2
                status=1
            done <"$tmp/includes"
        done
    done <"$tmp/floors"
    return $status
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if [ "${1:-}" = --self-test ]; then
    mkdir -p "$tmp/tree/src/win" "$tmp/tree/src/app"
    printf '#include "win/Window.h"\n' >"$tmp/tree/src/app/Main.cpp"
    printf '#include "app/FormSelect.h"\n' >"$tmp/tree/src/win/Window.h"
    if check_tree "$tmp/tree" 2>"$tmp/err"; then
        echo "floors: the check let win/ include app/" >&2
        exit 1
    fi
    grep -q 'src/win/Window.h includes "app/FormSelect.h"' "$tmp/err" || { cat "$tmp/err" >&2; exit 1; }
    grep -q 'src/app/' "$tmp/err" && { cat "$tmp/err" >&2; exit 1; }
    echo "floors: the check refuses an include that runs up, as it must"
    exit 0
fi
check_tree "${1:-$here/../..}" && echo "floors: every include points down"
