#!/usr/bin/env bash
# The tray menu as a user drives it: "&Instant Alert" covers the screen until a click, polling
# goes on afterwards, and "E&xit" with Yes ends the program and takes the icon away.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require

e2e_start_session
e2e_start_installation
inst=$E2E_LAST_DIR qfd=$E2E_LAST_PID
icon=$(e2e_tray_icon "$qfd")
screen=$(e2e_screen_size)

open_menu() {
    e2e_open_tray_menu "$qfd" "$icon"
}

close_alert() {
    local alert
    alert=$(e2e_windows "$qfd" "$screen" | head -n1)
    e2e_click_window "$alert" 1
    e2e_wait_for 10 e2e_no_window "$qfd" "$screen" || e2e_fail "a click did not close the alert"
}

# A menu opened during the start-up splash stays open when the splash's countdown ends; the
# splash goes once the menu has closed. "&Cancel" only closes the menu.
open_menu
e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$inst/qfd.ini' Settings splashDelay) == 1 ]]" ||
    e2e_fail "the splash countdown did not end"
sleep 0.5
e2e_menu_open "$qfd" || e2e_fail "the menu closed when the splash's countdown ended"
xdotool key c
e2e_wait_for 10 e2e_menu_closed "$qfd" ||
    e2e_fail "&Cancel did not close the menu"
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "the splash stayed after the menu closed"

# "&Instant Alert", chosen by its access key: a window covering the whole screen.
open_menu
xdotool key i
e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "no alert window covering $screen"
e2e_log "instant alert covers the screen"
close_alert
e2e_log "a click closed it"

# A right click soon after another, with the menu closed between them, opens it again.
open_menu
xdotool key Escape sleep 0.1 click 3
e2e_wait_for 4 e2e_menu_open "$qfd" || e2e_fail "a quick second right click opened no menu"
xdotool key Escape
e2e_wait_for 10 e2e_menu_closed "$qfd" || e2e_fail "Escape did not close the menu"

# Polling has resumed: a record left in the mailbox is shown and then marked done.
e2e_set_ini "$inst" Commands NetName "Robin"
e2e_set_ini "$inst" Commands Type 1
e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "polling did not resume after the alert"
[[ $(e2e_ini "$inst" Commands Type) == 1 ]] || e2e_fail "Type was reset before the alert closed"
close_alert
e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$inst/qfd.ini' Commands Type) == 0 ]]" ||
    e2e_fail "Type is not 0 after the received alert"
e2e_log "mailbox delivered and cleared"

# The splash countdown, paused by the alerts, has run out: from now on nothing writes to the file.
e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$inst/qfd.ini' Settings splashDelay) == 1 ]]" ||
    e2e_fail "the splash countdown did not end"

# "E&xit", then No: nothing changes; then Yes: the program ends and the icon is gone.
open_menu
xdotool key x
e2e_wait_for 10 e2e_window_titled "$qfd" "QF Detect" || e2e_fail "no exit question"
question=$(e2e_window_titled "$qfd" "QF Detect")
before=$(md5sum <"$inst/qfd.ini")
xdotool windowactivate --sync "$question" key --clearmodifiers Escape
e2e_wait_for 10 bash -c "! xwininfo -id $question | grep -q IsViewable" || e2e_fail "No did not close it"
e2e_alive "$qfd" || e2e_fail "No ended the program"
e2e_tray_icon "$qfd" >/dev/null || e2e_fail "No took the icon away"

open_menu
xdotool key x
e2e_wait_for 10 e2e_window_titled "$qfd" "QF Detect" || e2e_fail "no exit question"
question=$(e2e_window_titled "$qfd" "QF Detect")
xdotool windowactivate --sync "$question" key --clearmodifiers Return
e2e_wait_for 10 bash -c "! kill -0 $qfd 2>/dev/null" || e2e_fail "Yes did not end the program"
e2e_log "exit ended the program"
e2e_wait_for 10 bash -c "! xwininfo -id $icon >/dev/null 2>&1" || e2e_fail "the icon stayed"
[[ $(md5sum <"$inst/qfd.ini") == "$before" ]] || e2e_fail "exit wrote to qfd.ini"
e2e_log "passed"
