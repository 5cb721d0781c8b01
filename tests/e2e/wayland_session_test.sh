#!/usr/bin/env bash
# A Wayland session as most Linux desktops have it: weston with Xwayland, and qfd started with only
# the session's environment. The program chooses X11 through Xwayland by itself; its splash shows,
# an alert sent to it covers the whole output over the compositor's panel and flashes, and
# "&Options..." in the tray menu (an X tray host on Xwayland) opens the options dialog.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require weston weston-screenshooter Xwayland convert

e2e_start_wayland
e2e_start_installation --wait none
inst=$E2E_LAST_DIR qfd=$E2E_LAST_PID
# Its windows are X windows on Xwayland: the program chose X11 itself.
e2e_wait_for 10 e2e_splash_visible "$qfd" ||
    e2e_fail "no splash on Xwayland: $(cat "$inst/qfd.out")"
e2e_log "splash shown on Xwayland"
e2e_start_tray
e2e_wait_for 10 e2e_tray_icon "$qfd" || e2e_fail "the icon did not dock into the tray"
icon=$(e2e_tray_icon "$qfd")

# The alert, as the compositor shows it: one background colour from corner to corner and over
# the panel (weston's is 32 pixels high at the top), changing as it flashes.
"$QFDCTL_BIN" send --name Pat "$inst" || e2e_fail "qfdctl send failed"
screen=$(e2e_screen_size)
e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "no alert window covering $screen"
alert=$(e2e_windows "$qfd" "$screen" | head -n1)
shot="$E2E_TMP/screen.png"
read -r width height <<<"${screen/x/ }"
# The panel's launcher and clock, the corners, the middle of the left edge (the texts and the
# pointer are in the middle).
points=("24 16" "$((width - 40)) 16" "$((width - 2)) 1" "1 $((height - 2))"
    "$((width - 2)) $((height - 2))" "16 $((height / 2))")
# Prints the one colour at every point, or fails when they differ.
alert_colour() {
    e2e_wayland_screenshot "$shot" || return 1
    local point colour first=""
    for point in "${points[@]}"; do
        colour=$(convert "$shot" -format "%[pixel:p{${point/ /,}}]" info:)
        [[ -z $first || $colour == "$first" ]] || return 1
        first=$colour
    done
    echo "$first"
}
alert_shows() { [[ $(alert_colour) == "$1" ]]; }
e2e_wait_for 10 alert_shows 'srgb(255,0,0)' ||
    e2e_fail "the output is not covered in the alert's red: $(alert_colour || echo mixed colours)"
e2e_wait_for 10 alert_shows 'srgb(0,0,0)' || e2e_fail "the alert does not flash to black"
e2e_log "the alert covers the output and flashes"
e2e_click_window "$alert" 1
e2e_wait_for 10 e2e_no_window "$qfd" "$screen" || e2e_fail "a click did not close the alert"

e2e_open_tray_menu "$qfd" "$icon"
e2e_input key o
e2e_wait_for 10 e2e_window_titled "$qfd" "Quorf Detect Options" || e2e_fail "no options dialog"
e2e_log "passed"
