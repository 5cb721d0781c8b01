#!/usr/bin/env bash
# On a desktop whose tray shows StatusNotifierItems (a real host on a private session bus): the
# icon with its tip, a click that shows the about window, and the menu that the host draws from
# the one the program exports, with its network submenus filled, paths shown as they are, a
# network alert sent from it, and the commands off while a modal window is open.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/status_notifier.sh"
e2e_require busctl python3

e2e_start_sni_session
# The receiver docks nowhere: without the bus it waits for an X tray that never comes, so the
# host's panel holds the sender's icon alone.
receiver="$E2E_TMP/R&D_team"
mkdir "$receiver"
cp "$QFD_BIN" "$receiver/"
e2e_start_installation --wait splash "$receiver" env -u DBUS_SESSION_BUS_ADDRESS
rpid=$E2E_LAST_PID
e2e_start_installation --wait splash --set Settings myName "Pat" \
    --set "Network Settings" "Option 0" "$receiver/"
spid=$E2E_LAST_PID
splash=$(e2e_windows "$spid" 487x283 | head -n1)
e2e_wait_for 10 e2e_sni_item "$spid" || e2e_fail "the sender registered no StatusNotifierItem"
item=$(e2e_sni_item "$spid")
[[ $(e2e_sni_property "$item" ToolTip) == *'"QF Detect"'* ]] || e2e_fail "the icon's tip is not QF Detect"

# The splash's own window asked: a search of all windows can miss one that is there.
e2e_wait_for 10 bash -c "xwininfo -id $splash | grep -q IsUnMapped" || e2e_fail "the splash stayed"
e2e_sni_click_first_icon 1
e2e_wait_for 10 e2e_splash_visible "$spid" || e2e_fail "a click on the icon shows no about window"
xdotool key --window "$(e2e_windows "$spid" 487x283 | head -n1)" space
e2e_wait_for 10 e2e_no_window "$spid" 487x283 || e2e_fail "the about window stayed"

# The host opens the menu; "n" opens "Network Alert", whose entries the host asked for as it
# opened the menu. The receiver's folder is shown as it is, its "&" and "_" literal.
e2e_sni_click_first_icon 3
e2e_wait_for 10 e2e_menu_open "$E2E_SNI_HOST_PID" || e2e_fail "the host shows no menu"
xdotool key n
e2e_wait_for 10 e2e_menu_open "$E2E_SNI_HOST_PID" 2 || e2e_fail "no Network Alert submenu"
# Sized for its three entries when it opened, not scrolling through them.
submenu_fits() {
    local id x w h second
    second=$(for id in $(e2e_windows "$E2E_SNI_HOST_PID" -); do
        xwininfo -id "$id" | grep -q 'Override Redirect State: yes' || continue
        read -r x _ w h _ <<<"$(e2e_geometry "$id")"
        ((w > 64)) && echo "$x $h"
    done | sort -n | sed -n 2p)
    [[ -n $second ]] && ((${second#* } >= 75))
}
e2e_wait_for 5 submenu_fits || e2e_fail "the host drew the submenu too small for its entries"
menu=$(e2e_sni_menu "$item")
expected="  _Send To All
  ${receiver//_/__}/"
[[ $menu == *"${expected//&/＆}"* ]] || e2e_fail "the network submenu reads: $menu"
screen=$(e2e_screen_size)
xdotool key Down Return
e2e_wait_for 10 e2e_has_window "$rpid" "$screen" || e2e_fail "the receiver shows no alert"
[[ $(e2e_ini "$receiver" Commands NetName) == Pat ]] || e2e_fail "the record has no sender name"
e2e_click_window "$(e2e_windows "$rpid" "$screen" | head -n1)" 1
e2e_wait_for 10 e2e_no_window "$rpid" "$screen" || e2e_fail "the alert stayed"

# "&Options..." from the host's menu; while its window is open the menu's commands are off.
e2e_sni_click_first_icon 3
e2e_wait_for 10 e2e_menu_open "$E2E_SNI_HOST_PID" || e2e_fail "the host shows no menu"
xdotool key o
e2e_wait_for 10 e2e_window_titled "$spid" "Quorf Detect Options" || e2e_fail "no options window"
e2e_sni_click_first_icon 3
e2e_wait_for 10 e2e_menu_open "$E2E_SNI_HOST_PID" || e2e_fail "the host shows no menu"
commands_off() { [[ $(e2e_sni_menu "$item") == "_Instant Alert [off]"* ]]; }
e2e_wait_for 5 commands_off ||
    e2e_fail "the commands are on while the options are open: $(e2e_sni_menu "$item")"
e2e_log "passed"
