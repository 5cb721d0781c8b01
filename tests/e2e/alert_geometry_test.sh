#!/usr/bin/env bash
# The alert on a real X server with a tray host (trayer) at the bottom edge, first under a window
# manager (openbox), then with none: "&Instant Alert" gives a borderless window whose geometry is
# the screen's, and a screenshot shows the alert's colour over the tray's area and its icon too.
# Under the window manager it is also kept above, full screen and out of the taskbar.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require import convert

e2e_start_x
e2e_start_wm
wm=$E2E_LAST_PID
e2e_start_tray
# Both backgrounds one colour, so every moment of the flash shows it.
e2e_start_installation --set Settings Colour1 65280 --set Settings Colour2 65280 # 0x00FF00: green
qfd=$E2E_LAST_PID
expected=$(convert xc:'#00ff00' -format '%[pixel:p{0,0}]' info:)
icon=$(e2e_tray_icon "$qfd")
screen=$(e2e_screen_size)
shot="$E2E_TMP/screen.png"

colour_at() { convert "$shot" -format "%[pixel:p{$1,$2}]" info:; }

# The tray host's panel: its widest viewable window.
tray_area() {
    local id x y w h m best=0 area=""
    for id in $(xdotool search --onlyvisible --class trayer); do
        read -r x y w h m <<<"$(e2e_geometry "$id")"
        if [[ $m == IsViewable ]] && ((w > best)); then
            best=$w area="$x $y $w $h"
        fi
    done
    [[ -n $area ]] && echo "$area"
}

open_alert() {
    e2e_open_tray_menu "$qfd" "$icon"
    xdotool key i
    e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "no alert window covering $screen"
    alert=$(e2e_windows "$qfd" "$screen" | head -n1)
    local x y w h
    read -r x y w h _ <<<"$(e2e_geometry "$alert")"
    [[ "$x $y ${w}x$h" == "0 0 $screen" ]] || e2e_fail "alert at $x,$y ${w}x$h, not 0,0 $screen"
    [[ $(xdotool getwindowname "$alert") == Alert ]] || e2e_fail "alert's caption is not Alert"
}

# The screen as shown: the alert's colour in the tray's area, over the icon and in the corners.
check_screenshot() {
    local trayX trayY trayW trayH iconX iconY iconW iconH point px py
    read -r trayX trayY trayW trayH <<<"$(tray_area)" || e2e_fail "no tray panel on the screen"
    read -r iconX iconY iconW iconH _ <<<"$(e2e_geometry "$icon")"
    e2e_log "tray at $trayX,$trayY ${trayW}x$trayH"
    # The first paint may still be on its way.
    e2e_wait_for 10 bash -c "import -window root '$shot' &&
        [[ \$(convert '$shot' -format '%[pixel:p{$((trayX + trayW / 2)),$((trayY + trayH / 2))}]' info:) == '$expected' ]]" ||
        e2e_fail "the tray is not covered: $(colour_at $((trayX + trayW / 2)) $((trayY + trayH / 2)))"
    for point in "$((trayX + 1)) $((trayY + 1))" "$((trayX + trayW - 2)) $((trayY + trayH - 2))" \
        "$((iconX + iconW / 2)) $((iconY + iconH / 2))" "0 0" \
        "$((${screen%x*} - 1)) $((${screen#*x} - 1))"; do
        read -r px py <<<"$point"
        [[ $(colour_at "$px" "$py") == "$expected" ]] ||
            e2e_fail "at $px,$py: $(colour_at "$px" "$py"), not the alert's colour"
    done
}

close_alert() {
    e2e_click_window "$alert" 1
    e2e_wait_for 10 e2e_no_window "$qfd" "$screen" || e2e_fail "a click did not close the alert"
}

# Under openbox.
open_alert
state=$(xprop -id "$alert" _NET_WM_STATE)
for wanted in ABOVE FULLSCREEN SKIP_TASKBAR; do
    [[ $state == *_NET_WM_STATE_$wanted* ]] || e2e_fail "alert lacks $wanted: $state"
done
extents=$(xprop -id "$alert" _NET_FRAME_EXTENTS)
[[ $extents == *"= 0, 0, 0, 0" ]] || e2e_fail "alert has a frame: $extents"
check_screenshot
e2e_log "under a window manager the alert covers the screen: ${state#*= }"
close_alert

# Without a window manager.
kill "$wm"
e2e_wait_for 10 bash -c "! kill -0 $wm 2>/dev/null" || e2e_fail "openbox did not end"
open_alert
check_screenshot
e2e_log "without a window manager the alert covers the screen"
close_alert
e2e_log "passed"
