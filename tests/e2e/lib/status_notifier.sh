# A desktop that shows tray icons as StatusNotifierItems: a private D-Bus session bus with a
# watcher and a real host (a GTK panel at the bottom of the screen) on it. Source after session.sh.

e2e_bus() { busctl --address="$DBUS_SESSION_BUS_ADDRESS" "$@"; }
e2e_sni_watcher() {  # e2e_sni_watcher PROPERTY
    e2e_bus get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.kde.StatusNotifierWatcher "$1"
}
e2e_sni_host_ready() { [[ $(e2e_sni_watcher IsStatusNotifierHostRegistered) == "b true" ]]; }

# X server, window manager, then the bus, the watcher and the host in place of the XEmbed tray.
e2e_start_sni_session() {
    local tool
    for tool in dbus-daemon busctl status-notifier-watcher gtk-sni-tray-standalone; do
        command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool not installed"; exit 77; }
    done
    e2e_start_x
    e2e_start_wm
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/session-bus"
    e2e_spawn dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" \
        >"$E2E_TMP/dbus.log" 2>&1
    e2e_wait_for 10 e2e_bus list || e2e_fail "no session bus: $(cat "$E2E_TMP/dbus.log")"
    e2e_spawn status-notifier-watcher >"$E2E_TMP/watcher.log" 2>&1
    NO_AT_BRIDGE=1 e2e_spawn gtk-sni-tray-standalone --bottom >"$E2E_TMP/sni-host.log" 2>&1
    E2E_SNI_HOST_PID=$E2E_LAST_PID
    e2e_wait_for 10 e2e_sni_host_ready || e2e_fail "no StatusNotifierItem host on the bus"
}

# The bus name of the item the process registered with the watcher.
e2e_sni_item() {  # e2e_sni_item PID
    local name
    for name in $(e2e_sni_watcher RegisteredStatusNotifierItems | grep -oE ":[0-9]+\.[0-9]+"); do
        [[ $(e2e_bus call org.freedesktop.DBus / org.freedesktop.DBus \
            GetConnectionUnixProcessID s "$name") == "u $1" ]] && { echo "$name"; return 0; }
    done
    return 1
}

e2e_sni_property() {  # e2e_sni_property ITEM PROPERTY
    e2e_bus get-property "$1" /StatusNotifierItem org.kde.StatusNotifierItem "$2"
}

# The item's exported menu as a host reads it: an entry a line, "LABEL" with " [off]" when it is
# disabled, the entries of a submenu indented under it.
e2e_sni_menu() {  # e2e_sni_menu ITEM
    local path
    path=$(e2e_sni_property "$1" Menu | awk '{print $2}' | tr -d '"')
    e2e_bus --json=short call "$1" "$path" com.canonical.dbusmenu GetLayout iias -- 0 -1 0 |
        python3 -c '
import json, sys
def show(node, depth):
    _, props, children = node
    if "label" in props:
        off = "" if props.get("enabled", {"data": True})["data"] else " [off]"
        print("  " * depth + props["label"]["data"] + off)
    for child in children:
        show(child["data"], depth + ("label" in props))
show(json.load(sys.stdin)["data"][1], 0)'
}

# The host's panel, and where its first icon sits: "X Y SIZE", a square at the panel's left end.
e2e_sni_first_icon() {
    local id x y w h
    for id in $(e2e_windows "$E2E_SNI_HOST_PID" -); do
        read -r x y w h _ <<<"$(e2e_geometry "$id")"
        # The panel spans the screen; the host's other windows are menus or hidden helpers.
        [[ ${w}x$h == "$(e2e_screen_size | cut -dx -f1)x$h" ]] && { echo "$x $y $h"; return 0; }
    done
    return 1
}
# Whether the host has drawn an icon there yet: the panel is black around its icons.
e2e_sni_icon_drawn() {
    local x y h
    read -r x y h <<<"$(e2e_sni_first_icon)" || return 1
    [[ $(import -window root -crop "${h}x${h}+$x+$y" +repage -format '%[fx:maxima]' info:) != 0 ]]
}
e2e_sni_click_first_icon() {  # e2e_sni_click_first_icon BUTTON
    local x y h
    e2e_wait_for 10 e2e_sni_icon_drawn || e2e_fail "the host shows no icon"
    read -r x y h <<<"$(e2e_sni_first_icon)"
    xdotool mousemove $((x + h / 2)) $((y + h / 2)) click "$1"
}
