#!/bin/sh
# The Windows stage: cross-builds the win32 preset (core, qfdctl, the native front end, the tests)
# and runs its tests under Wine. Installs nothing: MinGW-w64, Wine and the GoogleTest sources come
# from scripts/setup.sh. Prints how long each step took.
set -eu
cd "$(dirname "$0")/.."

step() {
    name=$1
    shift
    start=$(date +%s)
    echo "== $name"
    if "$@"; then
        echo "== $name: $(($(date +%s) - start)) s"
    else
        status=$?
        echo "== $name FAILED after $(($(date +%s) - start)) s" >&2
        exit "$status"
    fi
}

total=$(date +%s)
step "configure (win32)" cmake --preset win32
step "build (win32, -j2)" cmake --build --preset win32 -j2
# A test that hangs fails after a minute rather than after ctest's five-minute default.
step "tests under Wine" ctest --preset win32 --output-on-failure --timeout 60
echo "== Windows stage: $(($(date +%s) - total)) s"
