#!/usr/bin/env bash
# The options dialog as a user meets it: "&Options..." in the tray menu opens it, a delay typed
# into its box is in qfd.ini at once, Enter closes it, and polling goes on afterwards.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require

e2e_start_session
e2e_start_installation
inst=$E2E_LAST_DIR qfd=$E2E_LAST_PID
icon=$(e2e_tray_icon "$qfd")
screen=$(e2e_screen_size)

# Let the splash countdown end first: it goes on writing splashDelay once the dialog has closed.
e2e_wait_for 15 bash -c "[[ \$('$QFDCTL_BIN' read '$inst/qfd.ini' Settings splashDelay) == 1 ]]" ||
    e2e_fail "the splash countdown did not end"

e2e_open_tray_menu "$qfd" "$icon"
xdotool key o
any_options_window() {
    e2e_window_titled "$qfd" "Quorf Detect Options" || e2e_window_titled "$qfd" "QF Detect Options"
}
e2e_wait_for 10 any_options_window || e2e_fail "&Options... opened no window"
if e2e_window_titled "$qfd" "QF Detect Options" >/dev/null; then
    echo "skipped: the tray menu still opens the shell's minimal options dialog"
    exit 77
fi
e2e_wait_for 10 e2e_window_titled "$qfd" "Quorf Detect Options" || e2e_fail "no options dialog"
dialog=$(e2e_window_titled "$qfd" "Quorf Detect Options")
read -r _ _ w h _ <<<"$(e2e_geometry "$dialog")"
[[ "${w}x${h}" == 513x448 ]] || e2e_fail "the dialog is ${w}x${h}, not 513x448"
xprop -id "$dialog" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    e2e_fail "the dialog is not kept out of the taskbar"
e2e_log "options dialog open"

# The window manager may offer to minimise it; a click on the tray icon brings it back.
xdotool windowminimize "$dialog"
e2e_wait_for 10 bash -c "xwininfo -id $dialog | grep -q IsUnMapped" || e2e_fail "not minimised"
e2e_click_window "$icon" 1
e2e_wait_for 10 bash -c "xwininfo -id $dialog | grep -q IsViewable" ||
    e2e_fail "a click on the tray icon did not bring the minimised dialog back"
e2e_splash_visible "$qfd" && e2e_fail "the about window opened over the dialog"

# The delay box by its access key; what is typed is stored at once, in number form.
xdotool windowactivate --sync "$dialog" key --clearmodifiers alt+d
xdotool type --delay 50 "42x"
e2e_wait_for 10 grep -q $'^Delay= 42\r$' "$inst/qfd.ini" ||
    e2e_fail "Delay is '$(e2e_ini "$inst" Settings Delay)' in qfd.ini, not 42"
[[ $(e2e_ini "$inst" Settings myName x) == "" ]] || e2e_fail "opening did not write myName"
e2e_log "typed delay stored"

# Enter in the box presses "&Close".
before=$(md5sum <"$inst/qfd.ini")
xdotool key --clearmodifiers Return
e2e_wait_for 10 bash -c "! xwininfo -id $dialog 2>/dev/null | grep -q IsViewable" ||
    e2e_fail "Enter did not close the dialog"
[[ $(md5sum <"$inst/qfd.ini") == "$before" ]] || e2e_fail "closing wrote to qfd.ini"
e2e_log "dialog closed"

# The main timer runs again: a record left in the mailbox is shown.
e2e_set_ini "$inst" Commands Type 1
e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "polling did not resume after the dialog"
alert=$(e2e_windows "$qfd" "$screen" | head -n1)
e2e_click_window "$alert" 1
e2e_wait_for 10 e2e_no_window "$qfd" "$screen" || e2e_fail "a click did not close the alert"
[[ $(e2e_ini "$inst" Settings Delay) == 42 ]] || e2e_fail "Delay did not stay 42"
e2e_log "passed"
