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
    # a second monitor for the end-to-end runs: Xorg with the dummy video driver, and xrandr
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    # a tray that shows StatusNotifierItems: a private session bus, a watcher and a real host, and
    # busctl to read the item and its menu as a host does
    dbus-daemon systemd haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils
    # a Wayland session for the end-to-end runs: weston with Xwayland, Qt's Wayland platform
    weston xwayland qt6-wayland
    # sound checks: a sound server with a null sink, recording and measuring
    pulseaudio pulseaudio-utils sox
    # running permission tests as an unprivileged user
    util-linux
    # a real share: an SMB server, and a FUSE client mount of it (the kernel's CIFS client is not
    # available everywhere the tests run)
    samba smbnetfs fuse3
    # the generators of the sounds and the artwork (a test regenerates the sounds)
    python3
)
# The Windows build, cross-compiled and run under Wine. Without their recommendations: those bring
# a desktop's worth of media libraries that neither the build nor the tests use.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 wine)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=() missing_windows=()
for p in "${PACKAGES[@]}"; do installed "$p" || missing+=("$p"); done
for p in "${WINDOWS_PACKAGES[@]}"; do installed "$p" || missing_windows+=("$p"); done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_windows[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]} ${missing_windows[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ${#missing_windows[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing_windows[@]}" >/dev/null
fi
