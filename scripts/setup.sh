#!/usr/bin/env bash
# Installs the Debian 12 packages that QF Detect needs to build, run and test. Idempotent: quiet
# and quick when everything is already there. Run as root (or with sudo available).
set -euo pipefail

PACKAGES=(
    # build
    build-essential cmake ninja-build clang libclang-rt-14-dev clang-format
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    # Qt front end
    qt6-base-dev qt6-multimedia-dev libgl1-mesa-dev
    # fonts: metric-compatible Arial, and a sans face for the dialog fonts
    fonts-liberation fonts-dejavu-core
    # end-to-end runs: virtual X server, window manager, tray host, input and inspection
    xvfb openbox trayer xdotool x11-utils imagemagick
    # sound checks: a sound server with a null sink, recording and measuring
    pulseaudio pulseaudio-utils sox
    # running permission tests as an unprivileged user
    util-linux
    # the generators of the sounds and the artwork (a test regenerates the sounds)
    python3
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
