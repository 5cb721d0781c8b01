#!/usr/bin/env bash
# Two monitors: a full-size alert covers both, flashing, and a click on either closes it; a
# monitor switched off while the alert is open takes its window along. Then the same alert from
# the Windows program under Wine.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine.sh"
e2e_require Xorg xrandr import

e2e_start_x_two_monitors
e2e_start_wm
e2e_start_tray

# The program's window that covers the monitor whose left edge is at X.
alert_at() {  # alert_at PID X
    local id
    for id in $(e2e_windows "$1" 1024x768); do
        [[ $(e2e_geometry "$id") == "$2 0 1024 768 "* ]] && { echo "$id"; return 0; }
    done
    return 1
}
no_alert_at() { ! alert_at "$@"; }
# The colour of the screen near the bottom left corner of the monitor whose left edge is at X.
background_at() { import -window root -crop "1x1+$(($1 + 20))+700" txt:- | tail -n1 | awk '{print $3}'; }
background_not() { [[ $(background_at "$1") != "$2" ]]; }
flashing_at() {  # flashing_at X: the background there changes within a flash or two
    e2e_wait_for 2 background_not "$1" "$(background_at "$1")"
}
mailbox_done() { [[ $(e2e_ini "$1" Commands Type) == 0 ]]; }

# Sends an alert to the installation and checks that it covers both monitors, flashing.
expect_both() {  # expect_both PID DIR
    "$QFDCTL_BIN" send --name Pat "$2" || e2e_fail "qfdctl send failed"
    e2e_wait_for 15 alert_at "$1" 0 || e2e_fail "no alert on the primary monitor"
    e2e_wait_for 5 alert_at "$1" 1024 || e2e_fail "no alert on the second monitor"
    flashing_at 0 || e2e_fail "the primary monitor's alert does not flash"
    flashing_at 1024 || e2e_fail "the second monitor's alert does not flash"
}

e2e_start_installation
dir=$E2E_LAST_DIR pid=$E2E_LAST_PID
e2e_wait_for 15 e2e_no_window "$pid" 487x283 || e2e_fail "the splash stayed"

expect_both "$pid" "$dir"
e2e_click_window "$(alert_at "$pid" 1024)" 1
e2e_wait_for 10 mailbox_done "$dir" || e2e_fail "a click on the second monitor left the alert"
e2e_wait_for 5 e2e_no_window "$pid" 1024x768 || e2e_fail "a window stayed after the click"

if [[ -n ${QFD_REQUIRE_WIN32:-} || -f ${QFD_WIN32_EXE:-} ]]; then
    e2e_require_wine
    # Wine takes the monitors from the server's last probe of its outputs, which the dummy
    # driver's server does not refresh by itself after outputs changed: a query probes again.
    xrandr >/dev/null
    e2e_start_wine
    windows=$(e2e_wine_install)
    e2e_start_wine_qfd "$windows"
    wpid=$E2E_LAST_PID
    e2e_wait_for 30 e2e_wine_tray_icon || e2e_fail "the Windows icon did not dock"
    e2e_wait_for 15 e2e_no_window "$wpid" 487x283 || e2e_fail "the Windows splash stayed"
    expect_both "$wpid" "$windows"
    e2e_click_window "$(alert_at "$wpid" 1024)" 1
    e2e_wait_for 10 mailbox_done "$windows" || e2e_fail "qfd.exe's alert did not close"
    e2e_wait_for 5 e2e_no_window "$wpid" 1024x768 || e2e_fail "a qfd.exe window stayed"
fi
expect_both "$pid" "$dir"
xrandr --output DUMMY1 --off
e2e_wait_for 5 no_alert_at "$pid" 1024 ||
    e2e_fail "the window of the monitor switched off stayed"
e2e_alive "$pid" || e2e_fail "qfd ended when a monitor went"
xrandr --output DUMMY1 --mode 1024x768 --right-of DUMMY0
e2e_click_window "$(alert_at "$pid" 0)" 1
e2e_wait_for 10 mailbox_done "$dir" || e2e_fail "the alert did not close"
e2e_wait_for 5 e2e_no_window "$pid" 1024x768 || e2e_fail "a window stayed after the click"

e2e_log "passed"
