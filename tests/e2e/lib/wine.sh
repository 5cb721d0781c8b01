# Windows installations of qfd.exe under Wine, on the private X session of session.sh (source
# that first). Each test gets a Wine prefix of its own, ended with the test.

# Skips the test (exit 77) without Wine or a Windows build, unless QFD_REQUIRE_WIN32 is set, as
# in CI, where a missing Windows build is a failure.
e2e_require_wine() {
    local why=""
    command -v wine >/dev/null 2>&1 || why="wine not installed"
    [[ -f "${QFD_WIN32_EXE:-}" ]] || why="no Windows build at '${QFD_WIN32_EXE:-}'"
    [[ -z $why ]] && return 0
    [[ -n "${QFD_REQUIRE_WIN32:-}" ]] && e2e_fail "$why"
    echo "skipped: $why"
    exit 77
}

# X server and tray host, without a window manager, the tray host's panel of a fixed size: Wine
# routes a click on a docked tray icon by where it believes the icon is, and when the panel moves
# after the icon docked (framed by a window manager, or grown for the icon) Wine does not always
# hear of it, and clicks on the icon are lost.
e2e_start_wine_session() {
    e2e_start_x
    e2e_start_tray --widthtype pixel --width 120
}

e2e_wine_end() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}

# A new 64-bit prefix on the session's display; no dialogs about Mono or Gecko, no debug output.
e2e_start_wine() {
    export WINEPREFIX="$E2E_TMP/wineprefix" WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    E2E_CLEANUP_HOOKS+=(e2e_wine_end)
    local started=$SECONDS
    wineboot -i >"$E2E_TMP/wineboot.log" 2>&1 || e2e_fail "wineboot: $(tail -5 "$E2E_TMP/wineboot.log")"
    e2e_log "Wine prefix ready in $((SECONDS - started)) s"
}

# A new Windows installation folder holding a copy of qfd.exe. Prints the folder.
e2e_wine_install() {
    local dir
    dir=$(mktemp -d "$E2E_TMP/windows.XXXXXX")
    cp "$QFD_WIN32_EXE" "$dir/qfd.exe"
    echo "$dir"
}

# The folder as a Windows program names it: Wine's drive Z: is the Unix root.
e2e_windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Starts the Windows installation's program; its pid (Wine runs it as a Unix process of its own,
# which owns its X windows) is in E2E_LAST_PID.
e2e_start_wine_qfd() {
    local dir=$1
    e2e_spawn wine "$dir/qfd.exe" >>"$dir/qfd.out" 2>&1
}

# Wine shows tray icons from its explorer process: an icon is a small explorer window docked in
# the tray host. Prints the first one.
e2e_wine_tray_icon() {
    local id parent root w h
    root=$(xwininfo -root | awk '/Window id/ {print $4}')
    for id in $(xdotool search --all --onlyvisible --class explorer.exe 2>/dev/null); do
        parent=$(xwininfo -children -id "$id" 2>/dev/null | awk '/Parent window id/ {print $4}')
        [[ -n $parent && $parent != "$root" ]] || continue
        read -r _ _ w h _ <<<"$(e2e_geometry "$id")"
        ((w <= 64 && h <= 64 && w > 1)) && { echo "$id"; return 0; }
    done
    return 1
}

# Moves onto the icon first and presses the button slowly: Wine passes the pointer's arrival
# before the press, as a user's hand would give it.
e2e_wine_click_icon() {  # e2e_wine_click_icon ICON BUTTON
    local x y w h
    read -r x y w h _ <<<"$(e2e_geometry "$1")"
    xdotool mousemove $((x + w / 2)) $((y + h / 2))
    sleep 0.3
    xdotool mousedown "$2"
    sleep 0.1
    xdotool mouseup "$2"
}

e2e_wine_open_tray_menu() {  # e2e_wine_open_tray_menu PID ICON
    e2e_open_tray_menu "$1" "$2" e2e_wine_click_icon
}
