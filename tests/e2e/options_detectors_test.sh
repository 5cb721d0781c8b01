#!/usr/bin/env bash
# Network Detectors as a user adds them: "&Browse..." in the options dialog, the second
# installation's program file typed into the file dialog, the refusal to add oneself, and an
# alert sent to the new detector from the tray menu reaching the second installation's screen.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require

# A home of its own, to see that nothing is kept outside the installation folders.
export HOME="$E2E_TMP/home"
mkdir -p "$HOME"
e2e_start_session
screen=$(e2e_screen_size)
e2e_start_installation --set Settings myName "Anna"
a=$E2E_LAST_DIR qa=$E2E_LAST_PID
e2e_start_installation
b=$E2E_LAST_DIR qb=$E2E_LAST_PID
icon=$(e2e_tray_icon "$qa")

open_menu() {
    e2e_open_tray_menu "$qa" "$icon"
}

any_options_window() {
    e2e_window_titled "$qa" "Quorf Detect Options" || e2e_window_titled "$qa" "QF Detect Options"
}

open_menu
xdotool key o
e2e_wait_for 10 any_options_window || e2e_fail "&Options... opened no window"
if e2e_window_titled "$qa" "QF Detect Options" >/dev/null; then
    echo "skipped: the tray menu still opens the shell's minimal options dialog"
    exit 77
fi
e2e_wait_for 10 e2e_window_titled "$qa" "Quorf Detect Options" || e2e_fail "no options dialog"
dialog=$(e2e_window_titled "$qa" "Quorf Detect Options")

# The second installation, by its program file.
xdotool windowactivate --sync "$dialog" key --clearmodifiers alt+b
e2e_choose_file "$qa" "$b/qfd"
e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$a/qfd.ini' 'Network Settings' 'Option 0') == '$b/' ]]" ||
    e2e_fail "Option 0 is '$(e2e_ini "$a" "Network Settings" "Option 0")', not '$b/'"
e2e_log "detector added: $b/"

# Its own folder is refused with a message; nothing is stored.
xdotool windowactivate --sync "$dialog" key --clearmodifiers alt+b
e2e_choose_file "$qa" "$a/qfd"
e2e_wait_for 10 e2e_window_titled "$qa" "QF Detect" || e2e_fail "no refusal for adding oneself"
refusal=$(e2e_window_titled "$qa" "QF Detect")
xdotool windowactivate --sync "$refusal" key --clearmodifiers Return
e2e_wait_for 10 bash -c "! xwininfo -id $refusal 2>/dev/null | grep -q IsViewable" ||
    e2e_fail "the refusal did not close"
[[ $(e2e_ini "$a" "Network Settings" "Option 1" none) == none ]] || e2e_fail "adding oneself stored a slot"
e2e_log "adding oneself refused"

xdotool windowactivate --sync "$dialog" key --clearmodifiers Escape
e2e_wait_for 10 bash -c "! xwininfo -id $dialog 2>/dev/null | grep -q IsViewable" ||
    e2e_fail "Escape did not close the dialog"

# "&Network Alert", then the detector below the separator (the last item of the submenu).
popups() {  # how many menus of the first installation are open
    local id w n=0
    for id in $(e2e_windows "$qa" -); do
        read -r _ _ w _ _ <<<"$(e2e_geometry "$id")"
        ((w > 64)) || continue
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && n=$((n + 1))
    done
    echo "$n"
}
submenu_open() { (($(popups) >= 2)); }
open_menu
xdotool key n
e2e_wait_for 10 submenu_open || e2e_fail "&Network Alert did not open its submenu"
xdotool key Up Return
e2e_wait_for 10 e2e_has_window "$qb" "$screen" ||
    e2e_fail "no alert on the second installation (Commands Type is" \
        "'$(e2e_ini "$b" Commands Type none)'; does the tray menu's detector item send yet?)"
[[ $(e2e_ini "$b" Commands NetName) == Anna ]] || e2e_fail "the alert does not come from Anna"
e2e_log "the second installation shows the alert"
alert=$(e2e_windows "$qb" "$screen" | head -n1)
e2e_click_window "$alert" 1
e2e_wait_for 10 e2e_no_window "$qb" "$screen" || e2e_fail "a click did not close the alert"
e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$b/qfd.ini' Commands Type) == 0 ]]" ||
    e2e_fail "Type is not 0 after the alert"
[[ ! -e $HOME/.config ]] || e2e_fail "settings were kept in the home folder: $(ls -R "$HOME/.config")"
e2e_log "passed"
