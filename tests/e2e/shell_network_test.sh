#!/usr/bin/env bash
# Two installations on one desktop: "&Send To All" in the first one's tray menu shows an alert on
# the second, with the sender's name, and leaves its mailbox done once it is clicked away; the
# sender's tray then tells that it has been seen.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require

e2e_start_session
e2e_start_installation
receiver=$E2E_LAST_DIR rpid=$E2E_LAST_PID
e2e_start_installation --set Settings myName "Pat" --set "Network Settings" "Option 0" "$receiver/"
spid=$E2E_LAST_PID
e2e_wait_for 10 e2e_no_window "$rpid" 487x283 || e2e_fail "the receiver's splash stayed"
screen=$(e2e_screen_size)

# Right click, "&Network Alert" by its access key, then down to "&Send To All".
e2e_open_tray_menu "$spid" "$(e2e_tray_icon "$spid")"
xdotool key n
e2e_wait_for 10 e2e_menu_open "$spid" 2 || e2e_fail "no &Network Alert submenu"
xdotool key Down Return
e2e_wait_for 10 e2e_has_window "$rpid" "$screen" || e2e_fail "the receiver shows no alert"
[[ $(e2e_ini "$receiver" Commands NetName) == Pat ]] || e2e_fail "the record has no sender name"
e2e_no_window "$spid" "$screen" || e2e_fail "the sender alerted itself"
e2e_click_window "$(e2e_windows "$rpid" "$screen" | head -n1)" 1
e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$receiver/qfd.ini' Commands Type) == 0 ]]" ||
    e2e_fail "the receiver's mailbox is not done"
e2e_wait_for 10 e2e_tray_notice "$spid" || e2e_fail "the sender's tray told nothing of the receipt"
e2e_log "passed"
