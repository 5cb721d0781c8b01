# Shared by the end-to-end tests: a private X session (Xvfb, openbox, trayer) or Wayland session
# (weston with Xwayland), temporary installation folders and helpers to find and drive qfd's
# windows. Source it, then call e2e_require. Everything started here is ended on exit, by process
# id.
#
# A test also fails at its end, whatever it checked, when a qfd it started (e2e_start_installation,
# e2e_start_qfd) ended by itself with an error or a signal (a crash, a sanitizer's abort), or when
# any program's output under the test's folder (*.out) holds a sanitizer report; the report is
# printed. A test that ends a qfd on purpose does so with SIGTERM (plain kill), as the clean-up does.

set -euo pipefail

E2E_PIDS=()
E2E_QFD_PIDS=()       # the qfd processes among them, whose exit status is judged at the end
E2E_CLEANUP_HOOKS=()  # commands run first at the end, for what pids alone cannot end
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qfd-e2e.XXXXXX")

# The first line of a report of AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer.
E2E_SANITIZER_REPORT='ERROR: [A-Za-z]+Sanitizer|: runtime error: |^SUMMARY: [A-Za-z]+Sanitizer'

e2e_cleanup() {
    local status=$? i pid rc file
    for ((i = ${#E2E_CLEANUP_HOOKS[@]} - 1; i >= 0; i--)); do
        ${E2E_CLEANUP_HOOKS[i]} || true
    done
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[i]}" 2>/dev/null || true
    done
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        wait "${E2E_PIDS[i]}" 2>/dev/null || true
    done
    # The shell keeps every background child's status, also one the test waited for already:
    # 0 is a normal end, 143 the SIGTERM of a test or of the loop above; anything else is a
    # fault of the program (a sanitizer's finding ends it with 1, a crash with a signal), even
    # where the test went on without noticing.
    for pid in "${E2E_QFD_PIDS[@]}"; do
        rc=0
        wait "$pid" 2>/dev/null || rc=$?
        if ((rc != 0 && rc != 143 && rc != 127)); then
            e2e_log "FAIL: qfd (pid $pid) ended with status $rc$( ((rc > 128)) &&
                echo " (signal $((rc - 128)))")"
            status=1
        fi
    done
    while IFS= read -r -d '' file; do
        grep -qE "$E2E_SANITIZER_REPORT" "$file" || continue
        e2e_log "FAIL: sanitizer report in ${file#"$E2E_TMP"/}:"
        awk -v re="$E2E_SANITIZER_REPORT" 'on || $0 ~ re || /^=+$/ {on = 1; print}' "$file" >&2
        status=1
    done < <(find "$E2E_TMP" -name '*.out' -type f -print0 2>/dev/null)
    rm -rf "$E2E_TMP"
    exit "$status"
}
trap e2e_cleanup EXIT
# A test stopped from outside (a time-out, a broken pipe) still cleans up.
trap 'exit 143' INT TERM HUP PIPE

e2e_log() { echo "[$(date +%T.%N | cut -c1-12)] $*" >&2; }
e2e_fail() {
    e2e_log "FAIL: $*"
    exit 1
}

# Skips the test (exit 77) when a tool or the program under test is missing.
e2e_require() {
    local tool
    for tool in Xvfb openbox trayer xdotool xwininfo xprop flock "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool not installed"; exit 77; }
    done
    [[ -x "${QFD_BIN:-}" ]] || { echo "skipped: QFD_BIN not set"; exit 77; }
    [[ -x "${QFDCTL_BIN:-}" ]] || { echo "skipped: QFDCTL_BIN not set"; exit 77; }
}

# Runs the command until it succeeds, every 0.1 s, for at most the given seconds.
e2e_wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# Starts a background command and remembers it for the clean-up; its pid is in E2E_LAST_PID.
e2e_spawn() {
    "$@" &
    E2E_LAST_PID=$!
    E2E_PIDS+=("$E2E_LAST_PID")
}

# Claims a display number for this run: Xvfb here creates no lock files, so parallel runs agree
# through locks of their own, held until the script ends. Numbers start high, away from the
# displays that servers started elsewhere pick first.
e2e_claim_display() {
    local n fd
    for ((n = 20; n < 200; n++)); do
        exec {fd}>"${TMPDIR:-/tmp}/.qfd-e2e-display-$n.lock"
        if flock -n "$fd" && [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
            E2E_DISPLAY_NUMBER=$n
            return 0
        fi
        exec {fd}>&-
    done
    e2e_fail "no free display number"
}

# Xvfb on a display of its own, then the environment a desktop program expects there.
# -noreset: by default the server resets when its last client leaves, and a client connecting
# during the reset (the window manager right after the first probe) is turned away.
e2e_start_x() {
    e2e_claim_display
    e2e_spawn Xvfb ":$E2E_DISPLAY_NUMBER" -screen 0 "${E2E_SCREEN:-1024x768x24}" -nolisten tcp \
        -noreset 2>"$E2E_TMP/xvfb.log"
    e2e_use_x "$E2E_TMP/xvfb.log"
}

# Points this run at the X server just started on the claimed display, once it answers.
e2e_use_x() {  # e2e_use_x SERVER_LOG
    export DISPLAY=":$E2E_DISPLAY_NUMBER"
    e2e_wait_for 10 xprop -root _NET_NOTHING ||
        e2e_fail "X server $DISPLAY does not answer: $(cat "$1")"
    # A private runtime folder and no session bus: the tray icon then docks with the X tray host.
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    unset DBUS_SESSION_BUS_ADDRESS
    export QT_QPA_PLATFORM=xcb
    e2e_log "X server on $DISPLAY"
}

# Instead of Xvfb's one screen: two monitors of 1024 x 768 side by side, the primary on the left.
# Xorg with the dummy video driver, whose second output xrandr switches on.
e2e_start_x_two_monitors() {
    e2e_claim_display
    local conf="$E2E_TMP/xorg-dummy.conf"
    cat >"$conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2048 768
    EndSubSection
EndSection
CONF
    e2e_spawn Xorg ":$E2E_DISPLAY_NUMBER" -config "$conf" -noreset -nolisten tcp -sharevts \
        -novtswitch -logfile "$E2E_TMP/xorg.log" >"$E2E_TMP/xorg.out" 2>&1
    e2e_use_x "$E2E_TMP/xorg.out"
    xrandr --output DUMMY0 --mode 1024x768 --primary &&
        xrandr --addmode DUMMY1 1024x768 &&
        xrandr --output DUMMY1 --mode 1024x768 --right-of DUMMY0 ||
        e2e_fail "no second monitor: $(xrandr 2>&1)"
}

# Instead of an X server: a Wayland session, weston with Xwayland, and only the environment such
# a session gives its programs (WAYLAND_DISPLAY, the Xwayland DISPLAY, XDG_SESSION_TYPE); no Qt
# platform is chosen. Weston shows its output in a window on a private Xvfb, whose keyboard and
# mouse are its seat: xdotool drives that display (E2E_INPUT_DISPLAY), weston passes the input on
# as it would a user's. (On its headless backend weston has no seat, and Xwayland aborts on the
# first input xdotool makes there.) --debug lets weston-screenshooter take the output.
e2e_start_wayland() {
    e2e_claim_display
    local size=${E2E_SCREEN:-1024x768x24} log="$E2E_TMP/weston.log" width height
    read -r width height _ <<<"${size//x/ }"
    # A strip below weston's window, for the pointer to come in from.
    e2e_spawn Xvfb ":$E2E_DISPLAY_NUMBER" -screen 0 "${width}x$((height + 8))x24" -nolisten tcp \
        -noreset 2>"$E2E_TMP/xvfb.log"
    e2e_use_x "$E2E_TMP/xvfb.log"
    E2E_INPUT_DISPLAY=$DISPLAY
    e2e_spawn weston --backend=x11-backend.so --use-pixman --width="$width" --height="$height" \
        --xwayland --socket="qfd-e2e-$$" --debug --no-config --idle-time=0 --log="$log" \
        >"$E2E_TMP/weston.out" 2>&1
    e2e_wait_for 10 grep -q 'xserver listening on display' "$log" ||
        e2e_fail "weston did not start with Xwayland: $(cat "$log" "$E2E_TMP/weston.out")"
    # Weston takes the pointer only once it has entered its window.
    e2e_wait_for 10 bash -c "xwininfo -root -children | grep -q '(\"weston'" ||
        e2e_fail "weston shows no window"
    xdotool mousemove 0 $((height + 4)) mousemove $((width / 2)) $((height / 2))
    DISPLAY=$(grep -o 'listening on display :[0-9]*' "$log" | grep -o ':[0-9]*')
    export WAYLAND_DISPLAY="qfd-e2e-$$" XDG_SESSION_TYPE=wayland DISPLAY
    unset QT_QPA_PLATFORM
    e2e_log "weston on $WAYLAND_DISPLAY, Xwayland on $DISPLAY"
}

# The compositor's output as shown, saved as FILE (a PNG).
e2e_wayland_screenshot() {  # e2e_wayland_screenshot FILE
    local dir
    dir=$(mktemp -d "$E2E_TMP/shot.XXXXXX")
    (cd "$dir" && weston-screenshooter) && mv "$dir"/*.png "$1" && rmdir "$dir"
}

e2e_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

e2e_start_wm() {
    e2e_spawn openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1
    e2e_wait_for 10 e2e_wm_running || e2e_fail "openbox did not start: $(cat "$E2E_TMP/openbox.log")"
}

e2e_tray_running() { xdotool search --class trayer; }

e2e_start_tray() {  # e2e_start_tray [TRAYER OPTIONS...]: later options win
    e2e_spawn trayer --edge bottom --align right --widthtype request --height 24 \
        --SetDockType true "$@" >"$E2E_TMP/trayer.log" 2>&1
    E2E_TRAY_PID=$E2E_LAST_PID
    e2e_wait_for 10 e2e_tray_running || e2e_fail "trayer did not start"
}

# The whole desktop: X server, window manager and tray host.
e2e_start_session() {
    e2e_start_x
    e2e_start_wm
    e2e_start_tray
}

# A new installation folder holding a copy of the program (never a link: each folder is its own
# installation with its own qfd.ini). Prints the folder.
e2e_install() {
    local dir
    dir=$(mktemp -d "$E2E_TMP/install.XXXXXX")
    cp "$QFD_BIN" "$dir/qfd"
    # The audio module, loaded on the first sound, sits beside the program.
    if [[ -f $(dirname "$QFD_BIN")/qfd_audio.so ]]; then
        cp "$(dirname "$QFD_BIN")/qfd_audio.so" "$dir/"
    fi
    echo "$dir"
}

# Starts the installation's program, under COMMAND if one is given (another user, say); its pid
# is in E2E_LAST_PID.
e2e_start_qfd() {  # e2e_start_qfd DIR [COMMAND...]
    local dir=$1
    shift
    e2e_spawn "$@" "$dir/qfd" >>"$dir/qfd.out" 2>&1
    E2E_QFD_PIDS+=("$E2E_LAST_PID")
}

# Starts an installation: the folder DIR (one holding a copy of the program), or else a new one
# from e2e_install; each --set written into its qfd.ini first; the program run under COMMAND if
# one is given. Returns once the program's tray icon has docked (--wait tray, the default), its
# splash shows (--wait splash) or at once (--wait none); fails the test after 10 s. The folder is
# in E2E_LAST_DIR and the program's pid in E2E_LAST_PID.
#   e2e_start_installation [--set SECTION KEY VALUE]... [--wait tray|splash|none] [DIR [COMMAND...]]
e2e_start_installation() {
    local wait=tray settings=() i
    while (($#)); do
        case $1 in
            --set)
                settings+=("$2" "$3" "$4")
                shift 4
                ;;
            --wait)
                wait=$2
                shift 2
                ;;
            *) break ;;
        esac
    done
    if (($#)); then
        E2E_LAST_DIR=$1
        shift
    else
        E2E_LAST_DIR=$(e2e_install)
    fi
    for ((i = 0; i < ${#settings[@]}; i += 3)); do
        e2e_set_ini "$E2E_LAST_DIR" "${settings[@]:i:3}"
    done
    e2e_start_qfd "$E2E_LAST_DIR" "$@"
    case $wait in
        tray) e2e_wait_for 10 e2e_tray_icon "$E2E_LAST_PID" ||
            e2e_fail "the icon of $E2E_LAST_DIR did not dock into the tray" ;;
        splash) e2e_wait_for 10 e2e_splash_visible "$E2E_LAST_PID" ||
            e2e_fail "the program in $E2E_LAST_DIR shows no splash" ;;
        none) ;;
        *) e2e_fail "e2e_start_installation: --wait $wait" ;;
    esac
}

# As the superuser: the command prefix that runs a program as nobody (uid 65534), with a runtime
# folder of its own, in E2E_AS_NOBODY; the test's folder is opened for it to reach.
e2e_prepare_nobody() {
    local runtime="$E2E_TMP/runtime-nobody"
    chmod 755 "$E2E_TMP"
    mkdir -m 700 "$runtime"
    chown 65534:65534 "$runtime"
    E2E_AS_NOBODY=(setpriv --reuid=65534 --regid=65534 --clear-groups
        env HOME=/nonexistent XDG_RUNTIME_DIR="$runtime")
}

e2e_alive() { kill -0 "$1" 2>/dev/null; }

e2e_ini() {  # e2e_ini DIR SECTION KEY [DEFAULT]
    "$QFDCTL_BIN" read "$1/qfd.ini" "$2" "$3" "${4:-}"
}

e2e_set_ini() {  # e2e_set_ini DIR SECTION KEY VALUE
    "$QFDCTL_BIN" write "$1/qfd.ini" "$2" "$3" "$4"
}

# Geometry of a window as "X Y WIDTH HEIGHT MAPSTATE".
e2e_geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} /Map State:/ {m=$NF}
        END {print x, y, w, h, m}'
}

# Viewable windows of a process whose size matches WIDTHxHEIGHT ("-" for any), one id a line.
e2e_windows() {  # e2e_windows PID SIZE
    local pid=$1 size=$2 id geometry
    for id in $(xdotool search --all --pid "$pid" --onlyvisible '' 2>/dev/null); do
        geometry=$(e2e_geometry "$id")
        [[ $geometry == *IsViewable ]] || continue
        read -r _ _ w h _ <<<"$geometry"
        if [[ $size == - || $size == "${w}x${h}" ]]; then
            echo "$id"
        fi
    done
}

e2e_has_window() { [[ -n $(e2e_windows "$1" "$2") ]]; }
e2e_no_window() { [[ -z $(e2e_windows "$1" "$2") ]]; }

# The splash/about window: 487 x 283 pixels at 96 dpi.
e2e_splash_visible() { e2e_has_window "$1" 487x283; }

# The tray icon: the process's window embedded in the tray host's panel.
e2e_tray_icon() {
    local pid=$1 id parent
    for id in $(e2e_windows "$pid" -); do
        parent=$(xwininfo -children -id "$id" 2>/dev/null | awk '/Parent window id/ {print $4}')
        if [[ -n $parent && $parent != "$(xwininfo -root | awk '/Window id/ {print $4}')" ]]; then
            read -r _ _ w h _ <<<"$(e2e_geometry "$id")"
            ((w <= 64 && h <= 64)) && { echo "$id"; return 0; }
        fi
    done
    return 1
}

# A top-level window of the process whose title is exactly the given text.
e2e_window_titled() {  # e2e_window_titled PID TITLE
    local id
    for id in $(e2e_windows "$1" -); do
        [[ $(xdotool getwindowname "$id" 2>/dev/null) == "$2" ]] && { echo "$id"; return 0; }
    done
    return 1
}

# The screen's size as "WIDTHxHEIGHT".
e2e_screen_size() { xdotool getdisplaygeometry | tr ' ' x; }

# xdotool's input commands, on the display whose keyboard and mouse reach the program.
e2e_input() { DISPLAY=${E2E_INPUT_DISPLAY:-$DISPLAY} xdotool "$@"; }

# A mouse click (button 1 left, 3 right) in the middle of a window.
e2e_click_window() {  # e2e_click_window ID BUTTON
    local x y w h
    read -r x y w h _ <<<"$(e2e_geometry "$1")"
    x=$((x + w / 2)) y=$((y + h / 2))
    # (No --sync: it waits in vain when the pointer is already there.)
    e2e_input mousemove "$x" "$y"
    # Through a compositor the pointer arrives later, and a pointer that stood still while the
    # window under it went away is not over the new one until it moves: click once the
    # program's display has it there.
    e2e_wait_for 10 e2e_pointer_to "$x" "$y" || e2e_fail "the pointer did not reach $x,$y"
    e2e_input click "$2"
}
e2e_pointer_to() {  # e2e_pointer_to X Y
    [[ $(xdotool getmouselocation) == "x:$1 y:$2 "* ]] && return 0
    e2e_input mousemove "$(($1 + 1))" "$2" mousemove "$1" "$2"
    return 1
}

# Popup menus of the process open anywhere on the screen: viewable windows that bypass the
# window manager and are larger than a tray icon. e2e_menu_open succeeds with at least COUNT
# (default 1) of them: a submenu counts as one more.
e2e_menu_open() {  # e2e_menu_open PID [COUNT]
    local id w n=0
    for id in $(e2e_windows "$1" -); do
        read -r _ _ w _ _ <<<"$(e2e_geometry "$id")"
        ((w > 64)) || continue
        # A notification from the tray icon bypasses the window manager too.
        e2e_is_tooltip "$id" && continue
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && n=$((n + 1))
    done
    ((n >= ${2:-1}))
}
e2e_menu_closed() { ! e2e_menu_open "$1"; }

# A notification from the process's tray icon, where no notification service runs: a viewable
# window of the tooltip type.
e2e_tray_notice() {  # e2e_tray_notice PID
    local id
    for id in $(e2e_windows "$1" -); do
        e2e_is_tooltip "$id" && return 0
    done
    return 1
}
e2e_is_tooltip() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP
}

# Runs while the process lives, appending "PID TITLE" to FILE for every dialog window it shows
# (message boxes among them). Start it with e2e_spawn. A window caught before it has its title
# is looked at again on the next round.
e2e_watch_dialogs() {  # e2e_watch_dialogs PID FILE
    local id title
    while kill -0 "$1" 2>/dev/null; do
        for id in $(xdotool search --all --pid "$1" --onlyvisible '' 2>/dev/null); do
            xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG ||
                continue
            title=$(xdotool getwindowname "$id" 2>/dev/null)
            [[ -n $title ]] && echo "$1 $title" >>"$2"
        done
        sleep 0.2
    done
}

# Right-clicks the tray icon until the popup menu is open: a click that lands while the tray host
# is still laying out its icons goes astray, as it would for a user, who clicks again.
e2e_open_tray_menu() {  # e2e_open_tray_menu PID ICON [CLICK COMMAND, called with ICON BUTTON]
    local attempt click=${3:-e2e_click_window}
    for attempt in 1 2 3; do
        "$click" "$2" 3
        e2e_wait_for 4 e2e_menu_open "$1" && return 0
        e2e_log "no menu after right click $attempt"
    done
    e2e_fail "a right click did not open the menu"
}

# The file dialog that "&Browse..." opens: the path typed into its file name box, a completion list
# put away, then Enter; returns once the dialog has closed.
e2e_choose_file() {  # e2e_choose_file PID PATH
    e2e_wait_for 10 e2e_window_titled "$1" "Choose QF Detect Application" ||
        e2e_fail "&Browse... opened no file dialog"
    local chooser
    chooser=$(e2e_window_titled "$1" "Choose QF Detect Application")
    xdotool windowactivate --sync "$chooser" type --delay 20 "$2"
    if e2e_wait_for 1 e2e_menu_open "$1"; then
        xdotool key --clearmodifiers Escape
        e2e_wait_for 5 e2e_menu_closed "$1" || e2e_fail "the completion list stayed open"
    fi
    xdotool key --clearmodifiers Return
    e2e_wait_for 10 bash -c "! xwininfo -id $chooser 2>/dev/null | grep -q IsViewable" ||
        e2e_fail "the file dialog did not close"
}
