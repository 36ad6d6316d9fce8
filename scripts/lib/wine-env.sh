# Sourced by the scripts that start Wine. Sets WINE32_RUNS=1 where 32-bit Windows programs can
# run (wine32 installed, and a machine that runs 32-bit Linux programs); otherwise 0, and where
# wine32 is installed but cannot run, `wine` is the 64-bit loader, which runs every x86_64 program.
# The caller sets wine_lib to the folder of this file.
_wine_lib=${wine_lib:?set wine_lib to scripts/lib}
WINE32_RUNS=0
WINE32_NOTE="wine32 (i386) is not installed"
if [ -x /usr/lib/wine/wine ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        WINE32_RUNS=1
        WINE32_NOTE=""
    else
        WINE32_NOTE="wine32 is installed, but this machine cannot run 32-bit Linux programs (its kernel refuses them)"
        case ":$PATH:" in *":$_wine_lib/wine64-only:"*) ;; *) PATH="$_wine_lib/wine64-only:$PATH" ;; esac
        export PATH WINELOADER="${WINELOADER:-/usr/lib/wine/wine64}"
    fi
fi
export WINE32_RUNS WINE32_NOTE
