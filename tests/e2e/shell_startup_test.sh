#!/usr/bin/env bash
# Start-up as a user meets it: the splash shows and hides itself, the icon docks as soon as a tray
# host appears, a second start of the same installation is refused without touching its files,
# and another installation folder runs beside the first.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require

e2e_start_x
e2e_start_wm

# No tray host yet: the program runs and shows its splash anyway, with the keyboard.
e2e_start_installation --wait splash
inst=$E2E_LAST_DIR qfd=$E2E_LAST_PID
splash=$(e2e_windows "$qfd" 487x283)
e2e_wait_for 10 bash -c "[[ \$(xdotool getactivewindow) == $splash ]]" || e2e_fail "the splash has no focus"
xprop -id "$splash" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    e2e_fail "the splash is not kept out of the taskbar"
e2e_log "splash shown"
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "the splash did not hide by itself"
e2e_log "splash hidden by itself"
[[ $(e2e_ini "$inst" Settings splashDelay) == 1 ]] ||
    e2e_fail "splashDelay is '$(e2e_ini "$inst" Settings splashDelay)', not 1"
e2e_alive "$qfd" || e2e_fail "qfd ended without a tray host"

# The tray host comes later; the icon docks into it.
e2e_start_tray
e2e_wait_for 10 e2e_tray_icon "$qfd" || e2e_fail "the icon did not dock into the tray"
icon=$(e2e_tray_icon "$qfd")
e2e_log "icon docked: window $icon"

# A left click on the icon shows the about window again; a click on its panel hides it.
e2e_click_window "$icon" 1
e2e_wait_for 10 e2e_splash_visible "$qfd" || e2e_fail "a left click did not show the window"
splash=$(e2e_windows "$qfd" 487x283)
xprop -id "$splash" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    e2e_fail "the window shown again is not kept out of the taskbar"
read -r sx sy _ _ _ <<<"$(e2e_geometry "$splash")"
read -r screen_w screen_h <<<"$(xdotool getdisplaygeometry)"
[[ $sx == $(((screen_w - 487) / 2)) && $sy == $(((screen_h - 283) / 2)) ]] ||
    e2e_fail "the window is at $sx,$sy, not centred"
xdotool mousemove $((sx + 240)) $((sy + 60)) click 1
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "a click on the logo did not hide it"

# Shown from the tray it has the keyboard: a character key hides it, a key without one does not.
e2e_click_window "$icon" 1
e2e_wait_for 10 e2e_splash_visible "$qfd" || e2e_fail "a left click did not show the window"
splash=$(e2e_windows "$qfd" 487x283)
e2e_wait_for 10 bash -c "[[ \$(xdotool getactivewindow) == $splash ]]" || e2e_fail "the window has no focus"
xdotool key Left
e2e_splash_visible "$qfd" || e2e_fail "an arrow key hid the window"
xdotool key Escape
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "Escape did not hide the window"

# A second start of the same installation: the message, then the end, nothing read or written.
before=$(md5sum <"$inst/qfd.ini")
listing=$(ls -la --time-style=full-iso "$inst")
e2e_start_installation --wait none "$inst"
second=$E2E_LAST_PID
e2e_wait_for 10 e2e_window_titled "$second" "QF Detect" || e2e_fail "no message from the second start"
box=$(e2e_window_titled "$second" "QF Detect")
e2e_log "second start shows its message"
xdotool windowactivate --sync "$box" key --clearmodifiers Return
e2e_wait_for 10 bash -c "! kill -0 $second 2>/dev/null" || e2e_fail "the second start did not end"
wait "$second" || e2e_fail "the second start ended with an error"
[[ $(md5sum <"$inst/qfd.ini") == "$before" ]] || e2e_fail "the second start changed qfd.ini"
[[ $(ls -la --time-style=full-iso "$inst" | grep -v qfd.out) == "$(grep -v qfd.out <<<"$listing")" ]] ||
    e2e_fail "the second start changed the installation folder"
e2e_alive "$qfd" || e2e_fail "the first instance was disturbed"

# Another installation folder runs side by side, with its own settings file.
e2e_start_installation --wait splash
other=$E2E_LAST_DIR
e2e_wait_for 10 test -s "$other/qfd.ini" || e2e_fail "the other installation has no qfd.ini"
e2e_alive "$qfd" || e2e_fail "the first instance ended"
e2e_log "passed"
