#!/usr/bin/env bash
# A Linux installation and a Windows installation (under Wine) in one shared folder tree, each
# the other's Network Detector: "&Send To All" in either tray menu alerts the other.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine.sh"
e2e_require
e2e_require_wine

e2e_start_wine_session
e2e_start_wine
linux=$(e2e_install)
windows=$(e2e_wine_install)
e2e_set_ini "$windows" Settings myName "Winnie"
e2e_set_ini "$windows" "Network Settings" "Option 0" "$(e2e_windows_path "$linux")\\"
e2e_start_installation --set Settings myName "Linus" --set "Network Settings" "Option 0" "$windows/" \
    "$linux"
lpid=$E2E_LAST_PID
e2e_start_wine_qfd "$windows"
wpid=$E2E_LAST_PID
e2e_wait_for 30 e2e_wine_tray_icon || e2e_fail "the Windows icon did not dock"
e2e_wait_for 15 e2e_no_window "$lpid" 487x283 || e2e_fail "the Linux splash stayed"
e2e_wait_for 15 e2e_no_window "$wpid" 487x283 || e2e_fail "the Windows splash stayed"
screen=$(e2e_screen_size)

# Answers an alert on the receiving side: shown full screen, with the sender's name in the record,
# closed by a click, mailbox done afterwards.
expect_alert() {  # expect_alert PID FOLDER SENDER
    e2e_wait_for 15 e2e_has_window "$1" "$screen" || e2e_fail "no alert on the receiving side"
    [[ $(e2e_ini "$2" Commands NetName) == "$3" ]] || e2e_fail "the record does not name $3"
    e2e_click_window "$(e2e_windows "$1" "$screen" | head -n1)" 1
    e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$2/qfd.ini' Commands Type) == 0 ]]" ||
        e2e_fail "the receiver's mailbox is not done"
}

# Windows to Linux: "&Network Alert" by its access key, then "&Send To All".
e2e_wine_open_tray_menu "$wpid" "$(e2e_wine_tray_icon)"
xdotool key n
e2e_wait_for 10 e2e_menu_open "$wpid" 2 || e2e_fail "no &Network Alert submenu in qfd.exe"
xdotool key Down Return
expect_alert "$lpid" "$linux" Winnie
e2e_no_window "$wpid" "$screen" || e2e_fail "the Windows installation alerted itself"
e2e_log "Windows to Linux passed"

# Linux to Windows.
e2e_open_tray_menu "$lpid" "$(e2e_tray_icon "$lpid")"
xdotool key n
e2e_wait_for 10 e2e_menu_open "$lpid" 2 || e2e_fail "no &Network Alert submenu in qfd"
xdotool key Down Return
expect_alert "$wpid" "$windows" Linus
e2e_log "passed"
