#!/usr/bin/env bash
# Takes the pictures of the README as a user sees them: the splash window, the tray menu, a
# full-screen alert and the options dialog, on a virtual X server of its own with a window manager
# and a tray host. Saves them as PNG files into QFD_DOCS_DIR (docs/, where the committed ones live,
# by default). Builds qfd and qfdctl in the dev preset first, unless QFD_BIN and QFDCTL_BIN name
# the programs to use. Needs the packages of scripts/setup.sh.
set -euo pipefail
out=${QFD_DOCS_DIR:-docs}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cd "$(dirname "$0")/.."

if [[ -z ${QFD_BIN:-} || -z ${QFDCTL_BIN:-} ]]; then
    cmake --preset dev >/dev/null
    cmake --build --preset dev -j "$(nproc)" --target qfd qfdctl
    export QFD_BIN="$PWD/build/dev/qt/qfd" QFDCTL_BIN="$PWD/build/dev/tools/qfdctl/qfdctl"
fi
source tests/e2e/lib/session.sh
e2e_require import convert

E2E_SCREEN=800x600x24 e2e_start_session
e2e_start_installation --set Settings myName "Bruce" --wait splash
qfd=$E2E_LAST_PID
screen=$(e2e_screen_size)

# Saves the window (or, with "root", the screen) as NAME.png once it shows more than a blank
# (a window just mapped may not have painted yet).
painted() {  # painted FILE
    (($(convert "$1" -format '%k' info:) > 2))
}
shoot() {  # shoot NAME WINDOW
    local file="$out/$1.png"
    e2e_wait_for 5 bash -c "import -window '$2' '$file' && $(declare -f painted); painted '$file'" ||
        e2e_fail "$1.png shows nothing"
    e2e_log "saved $file"
}

shoot splash "$(e2e_windows "$qfd" 487x283 | head -n1)"
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "the splash did not hide"

e2e_wait_for 10 e2e_tray_icon "$qfd" || e2e_fail "the icon did not dock into the tray"
icon=$(e2e_tray_icon "$qfd")
e2e_open_tray_menu "$qfd" "$icon"
sleep 0.3
shoot tray-menu root
xdotool key i
e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "no alert"
sleep 0.8  # one flash into the first colour pair and back
shoot alert root
e2e_click_window "$(e2e_windows "$qfd" "$screen" | head -n1)" 1
e2e_wait_for 10 e2e_no_window "$qfd" "$screen" || e2e_fail "the alert did not close"

e2e_open_tray_menu "$qfd" "$icon"
xdotool key o
e2e_wait_for 10 e2e_window_titled "$qfd" "Quorf Detect Options" || e2e_fail "no options dialog"
dialog=$(e2e_window_titled "$qfd" "Quorf Detect Options")
sleep 0.5
shoot options "$dialog"
xdotool windowactivate --sync "$dialog" key Escape
e2e_wait_for 10 bash -c "! xdotool search --name 'Quorf Detect Options' >/dev/null" ||
    e2e_fail "Escape did not close the options dialog"
