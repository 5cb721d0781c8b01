#!/bin/sh
# Runs a Windows program under Wine in a prefix of its own (64-bit), creating the prefix once.
# Usage: wine-run.sh [--prefix=DIR] program.exe [arguments...]
# Works without a display (console programs) and with one (DISPLAY set, for windowed programs).
# The exit status is the program's.
set -eu

prefix=""
case "${1:-}" in
--prefix=*)
    prefix=${1#--prefix=}
    shift
    ;;
esac
if [ $# -eq 0 ]; then
    echo "usage: $0 [--prefix=DIR] program.exe [arguments...]" >&2
    exit 2
fi
if [ -z "$prefix" ]; then
    prefix=${WINEPREFIX:-$(pwd)/wineprefix}
fi

# Wine wants an absolute prefix.
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
WINEPREFIX=$prefix
WINEARCH=win64
WINEDEBUG=${QFD_WINEDEBUG:--all}
# No dialog offering to install Mono or Gecko; the programs need neither.
WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES

# The 64-bit loader directly: the generic wrapper looks for a 32-bit one first.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
WINELOADER=$wine
export WINELOADER

# Create the prefix once; parallel test runs wait for whoever creates it.
if [ ! -f "$prefix/.qfd-ready" ]; then
    (
        flock 9
        if [ ! -f "$prefix/.qfd-ready" ]; then
            rm -rf "$prefix"
            # No display needed: the prefix's first start shows no window when told so.
            if ! env -u DISPLAY -u WAYLAND_DISPLAY wineboot -i >"$prefix.log" 2>&1 9>&-; then
                echo "wine-run.sh: creating the Wine prefix $prefix failed:" >&2
                cat "$prefix.log" >&2
                exit 1
            fi
            wineserver -w 9>&-
            touch "$prefix/.qfd-ready"
        fi
    ) 9>"$prefix.lock"
fi

# Keep the server running between the many short test processes instead of restarting it for each,
# and start the prefix's background processes along with it, detached from our output: started by
# the program itself they would inherit its output pipes and keep whoever reads them waiting.
# wineserver exits with 0 when it starts a new server and 2 when one is running already.
(
    flock 9
    if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
        "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
    fi
) 9>"$prefix.lock"

exec "$wine" "$@"
