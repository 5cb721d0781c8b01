#!/usr/bin/env bash
# The Windows build under Wine, as a user meets it: the splash, the tray icon and its menu,
# "&Instant Alert" covering the screen until a click, and the single-instance refusal.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine.sh"
e2e_require
e2e_require_wine

e2e_start_wine_session
e2e_start_wine
dir=$(e2e_wine_install)
e2e_start_wine_qfd "$dir"
pid=$E2E_LAST_PID

e2e_wait_for 30 e2e_splash_visible "$pid" || e2e_fail "no 487x283 splash window"
e2e_wait_for 10 e2e_wine_tray_icon || e2e_fail "the tray icon did not dock"
e2e_wait_for 15 e2e_no_window "$pid" 487x283 || e2e_fail "the splash did not close by itself"
[[ -f $dir/qfd.ini ]] || e2e_fail "no qfd.ini beside qfd.exe"
if grep -q $'[^\r]$' "$dir/qfd.ini"; then e2e_fail "qfd.ini has lines without CR LF"; fi

# The first installation still runs: a second start of the same folder refuses and ends.
e2e_spawn wine "$dir/qfd.exe"
second=$E2E_LAST_PID
e2e_wait_for 20 e2e_window_titled "$second" "QF Detect" || e2e_fail "no refusal from a second start"
# No window manager to activate it: the pointer over the box gives it the keyboard.
read -r x y w h _ <<<"$(e2e_geometry "$(e2e_window_titled "$second" "QF Detect")")"
xdotool mousemove $((x + w / 2)) $((y + h / 2)) sleep 0.3 key Return
e2e_wait_for 10 bash -c "! kill -0 $second 2>/dev/null" || e2e_fail "the second start did not end"
e2e_alive "$pid" || e2e_fail "the first instance ended"

screen=$(e2e_screen_size)
e2e_wine_open_tray_menu "$pid" "$(e2e_wine_tray_icon)"
xdotool key i
e2e_wait_for 10 e2e_has_window "$pid" "$screen" || e2e_fail "\"&Instant Alert\" shows no full-screen alert"
alert=$(e2e_windows "$pid" "$screen" | head -n1)
read -r x y _ _ _ <<<"$(e2e_geometry "$alert")"
[[ "$x $y" == "0 0" ]] || e2e_fail "the alert stands at $x,$y, not over the whole screen"
e2e_click_window "$alert" 1
e2e_wait_for 10 e2e_no_window "$pid" "$screen" || e2e_fail "a click did not close the alert"
e2e_alive "$pid" || e2e_fail "qfd.exe ended after the alert"
e2e_log "passed"
