#!/usr/bin/env bash
# Sets everything up, builds QF Detect and starts it from a portable installation folder
# (build/portable): the folder that holds the program also holds its settings file, qfd.ini.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
cmake --install build/release --prefix build/portable >/dev/null

if [ ! -x build/portable/qfd ]; then
    exec build/portable/qfdctl --help
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "No desktop here (DISPLAY is not set): QF Detect needs one to show its tray icon." >&2
    exit 1
fi
echo "Starting QF Detect from build/portable (settings: build/portable/qfd.ini)."
exec build/portable/qfd
