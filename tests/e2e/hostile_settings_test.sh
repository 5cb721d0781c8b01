#!/usr/bin/env bash
# The real program on damaged and hostile settings files: numbers out of range or no numbers at
# all, markup, binary and NUL bytes, a 10 MB file, a pipe in the file's place. In every case it
# starts and keeps running, docks its icon, shows no message box (but one that says once why a
# file it cannot read or write is not used), delivers alerts where its file can be written, and every stored setting is still in the file byte for byte afterwards (only
# splashDelay and the mailbox are the program's own to write).
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require cmp mkfifo

e2e_start_session
screen=$(e2e_screen_size)
DIALOGS="$E2E_TMP/dialogs.log"
touch "$DIALOGS"

# Notes every dialog window (message boxes are dialogs) the process shows, until it ends.

# The file without what the program may write: the splashDelay line and the mailbox section.
stored_settings() {  # stored_settings FILE OUT
    sed -e '/^\[Commands\]\r\{0,1\}$/,$d' -e '/^splashDelay=/d' "$1" >"$2"
}

# Starts the installation and watches it; qfd's pid in QFD.
start_case() {  # start_case NAME DIR
    CASE=$1
    e2e_log "case $CASE"
    e2e_start_installation "$2"
    QFD=$E2E_LAST_PID
    e2e_spawn e2e_watch_dialogs "$QFD" "$DIALOGS"
}

# Answers the one message that says the settings file cannot be used.
answer_settings_message() {
    local box
    e2e_wait_for 10 e2e_window_titled "$QFD" "QF Detect" || e2e_fail "$CASE: no message"
    box=$(e2e_window_titled "$QFD" "QF Detect")
    xdotool windowactivate --sync "$box" key --clearmodifiers Return
    e2e_wait_for 10 bash -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" ||
        e2e_fail "$CASE: the message did not close"
}

# Ends the case: still running, no message box seen but those allowed, then stopped.
end_case() {  # end_case [ALLOWED TITLE]
    e2e_alive "$QFD" || e2e_fail "$CASE: qfd ended"
    if grep -v -e ' Quorf Detect Options$' ${1:+-e " $1\$"} "$DIALOGS" | grep -q "^$QFD "; then
        e2e_fail "$CASE: a message box appeared: $(grep "^$QFD " "$DIALOGS" | sort -u)"
    fi
    kill "$QFD"
    wait "$QFD" 2>/dev/null || true
}

# A record in the mailbox is shown full-screen, clicked away and marked done.
alert_through_mailbox() {  # alert_through_mailbox DIR
    "$QFDCTL_BIN" send --name "<b>peer</b>" --top "<i>top</i>" --bottom "&amp;" "$1" ||
        e2e_fail "$CASE: qfdctl send failed"
    e2e_wait_for 10 e2e_has_window "$QFD" "$screen" || e2e_fail "$CASE: no alert from the mailbox"
    e2e_click_window "$(e2e_windows "$QFD" "$screen" | head -n1)" 1
    e2e_wait_for 10 e2e_no_window "$QFD" "$screen" || e2e_fail "$CASE: the alert did not close"
    e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$1/qfd.ini' Commands Type) == 0 ]]" ||
        e2e_fail "$CASE: the mailbox was not marked done"
}

# Opens "&Options..." from the tray and closes it with Enter (its focus is on "&Close").
options_open_and_close() {
    local dialog
    e2e_open_tray_menu "$QFD" "$(e2e_tray_icon "$QFD")"
    xdotool key o
    e2e_wait_for 10 e2e_window_titled "$QFD" "Quorf Detect Options" || e2e_fail "$CASE: no options"
    dialog=$(e2e_window_titled "$QFD" "Quorf Detect Options")
    xdotool windowactivate --sync "$dialog" key --clearmodifiers Return
    e2e_wait_for 10 bash -c "! xwininfo -id $dialog 2>/dev/null | grep -q IsViewable" ||
        e2e_fail "$CASE: the options dialog did not close"
}

# "&Delayed Alert" from the tray menu.
delayed_alert() {
    e2e_open_tray_menu "$QFD" "$(e2e_tray_icon "$QFD")"
    xdotool key d
    e2e_wait_for 10 e2e_menu_closed "$QFD" || e2e_fail "$CASE: the menu stayed open"
}

kept_settings() {  # kept_settings DIR ORIGINAL_STRIPPED
    stored_settings "$1/qfd.ini" "$E2E_TMP/after"
    cmp "$2" "$E2E_TMP/after" >&2 || e2e_fail "$CASE: stored settings changed"
}

crlf() { sed 's/$/\r/'; }

# The alert's background colours seen in a few looks over a second, as "#RRGGBB" words: a pixel
# in the bottom-left corner, where no text is.
alert_backgrounds() {
    local id x y w h i
    id=$(e2e_windows "$QFD" "$screen" | head -n1)
    read -r x y w h _ <<<"$(e2e_geometry "$id")"
    for ((i = 0; i < 5; i++)); do
        import -window root -crop "1x1+$((x + 2))+$((y + h - 3))" -depth 8 txt:- 2>/dev/null |
            grep -o '#[0-9A-F]\{6\}' | head -n1
        sleep 0.2
    done | sort -u | tr '\n' ' '
}

# Raises an alert through the mailbox; while it flashes, its background colours must be among
# the expected ones; then it is clicked away.
alert_colours() {  # alert_colours DIR "#RRGGBB #RRGGBB"
    local seen c
    "$QFDCTL_BIN" send "$1" || e2e_fail "$CASE: qfdctl send failed"
    e2e_wait_for 10 e2e_has_window "$QFD" "$screen" || e2e_fail "$CASE: no alert from the mailbox"
    seen=$(alert_backgrounds)
    [[ -n $seen ]] || e2e_fail "$CASE: no colour read from the alert"
    for c in $seen; do
        [[ " $2 " == *" $c "* ]] || e2e_fail "$CASE: the alert shows $c, expected only $2"
    done
    e2e_log "$CASE: alert backgrounds $seen"
    e2e_click_window "$(e2e_windows "$QFD" "$screen" | head -n1)" 1
    e2e_wait_for 10 e2e_no_window "$QFD" "$screen" || e2e_fail "$CASE: the alert did not close"
    e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$1/qfd.ini' Commands Type) == 0 ]]" ||
        e2e_fail "$CASE: the mailbox was not marked done"
}

# --- Numbers out of range, no numbers, markup: latency 0 polls at the floor of 10 ms, a delay
# of 32767 s never comes in the test's time, and opening and closing the options dialog stores
# nothing.
inst=$(e2e_install)
crlf >"$inst/qfd.ini" <<'EOF'
[Settings]
myName=<b>Eve</b> & <i>Co</i>
Delay= 32767
Latency= 0
Sound=999
Colour1=-1
Colour2= 16777216
Colour3= 2147483648
Colour4=-2147483649
Small=1E9
QFtext=<h1>Top</h1>
Atext=&amp; <br>
NetDelay=abc
[Network Settings]
Option 0=/nonexistent/<script>alert(1)</script>/
EOF
stored_settings "$inst/qfd.ini" "$E2E_TMP/original"
start_case "numbers out of range" "$inst"
e2e_wait_for 10 e2e_no_window "$QFD" 487x283 || e2e_fail "$CASE: the splash did not hide"
alert_through_mailbox "$inst"
# Colour1 -1 is white (its top byte is no colour); Colour2 16777216 is black for the same reason.
alert_colours "$inst" "#FFFFFF #000000"
options_open_and_close
delayed_alert
sleep 3
e2e_no_window "$QFD" "$screen" || e2e_fail "$CASE: a delay of 32767 s gave an alert within 3 s"
e2e_open_tray_menu "$QFD" "$(e2e_tray_icon "$QFD")"
xdotool key Escape
e2e_wait_for 10 e2e_menu_closed "$QFD" || e2e_fail "$CASE: the menu stayed open"
end_case
kept_settings "$inst" "$E2E_TMP/original"

# --- Negative numbers and more non-numbers: a delay of -5 alerts at the first second's tick.
inst=$(e2e_install)
crlf >"$inst/qfd.ini" <<'EOF'
[Settings]
Delay=-5
Latency=-1
Sound=x
Colour1= 4294967295
Colour2=1E9
Colour3=&HFF
Colour4=abc
Small=-1
NetDelay= 32768
QFtext=
Atext="quoted"
EOF
stored_settings "$inst/qfd.ini" "$E2E_TMP/original"
start_case "negative numbers" "$inst"
e2e_wait_for 10 e2e_no_window "$QFD" 487x283 || e2e_fail "$CASE: the splash did not hide"
alert_through_mailbox "$inst"
# Colour1 4294967295 is beyond 32 bits signed: the default red. Colour2 1E9 is 0x3B9ACA00, whose
# low three bytes are blue 0x9A, green 0xCA, red 0x00.
alert_colours "$inst" "#FF0000 #00CA9A"
delayed_alert
e2e_wait_for 5 e2e_has_window "$QFD" "$screen" || e2e_fail "$CASE: no delayed alert"
e2e_click_window "$(e2e_windows "$QFD" "$screen" | head -n1)" 1
e2e_wait_for 10 e2e_no_window "$QFD" "$screen" || e2e_fail "$CASE: the delayed alert did not close"
end_case
kept_settings "$inst" "$E2E_TMP/original"

# --- A delay too large for its 16 bits and a latency that is no number take their defaults:
# the delayed alert comes after 5 s.
inst=$(e2e_install)
printf '[Settings]\r\nDelay=1E9\r\nLatency=abc\r\n' >"$inst/qfd.ini"
stored_settings "$inst/qfd.ini" "$E2E_TMP/original"
start_case "numbers beyond 16 bits" "$inst"
e2e_wait_for 10 e2e_no_window "$QFD" 487x283 || e2e_fail "$CASE: the splash did not hide"
delayed_alert
sleep 2
e2e_no_window "$QFD" "$screen" || e2e_fail "$CASE: the delayed alert came at once, not after 5 s"
e2e_wait_for 10 e2e_has_window "$QFD" "$screen" || e2e_fail "$CASE: no delayed alert"
e2e_click_window "$(e2e_windows "$QFD" "$screen" | head -n1)" 1
e2e_wait_for 10 e2e_no_window "$QFD" "$screen" || e2e_fail "$CASE: the delayed alert did not close"
end_case
kept_settings "$inst" "$E2E_TMP/original"

# --- Binary and NUL bytes among the settings, a Windows-1252 text, a broken header: the lines the
# program cannot read stay in the file byte for byte.
inst=$(e2e_install)
printf '[Settings]\r\nmyName=Bin\r\n\x00\x01\x02binary\xff\xfe\r\ngarbage \x80\x81 without equals\r\n' \
    >"$inst/qfd.ini"
printf 'Key\x00WithNul=1\r\nQFtext=Qu\xf6rf\r\nAtext=\xe2\x82\xac\x00tail\r\n[\x00Bad]\r\n' \
    >>"$inst/qfd.ini"
printf 'x=\x00\r\nlone\rcarriage return\r\n[Network Settings]\r\nOption 0=/srv/\xff\xfe/\r\n' \
    >>"$inst/qfd.ini"
stored_settings "$inst/qfd.ini" "$E2E_TMP/original"
start_case "binary and NUL bytes" "$inst"
e2e_wait_for 10 e2e_no_window "$QFD" 487x283 || e2e_fail "$CASE: the splash did not hide"
alert_through_mailbox "$inst"
end_case
kept_settings "$inst" "$E2E_TMP/original"
[[ $(e2e_ini "$inst" Settings myName) == Bin ]] || e2e_fail "$CASE: myName no longer reads"

# --- A 10 MB settings file is too large to read or write: the program says so once, runs on its
# defaults, counts its splash down in memory, refuses the mailbox, and leaves the file exactly as
# it was.
inst=$(e2e_install)
{
    printf '[Settings]\r\nmyName=Big\r\n;'
    head -c $((10 * 1024 * 1024)) /dev/zero | tr '\0' 'x'
    printf '\r\n'
} >"$inst/qfd.ini"
before=$(md5sum <"$inst/qfd.ini")
start_case "10 MB file" "$inst"
answer_settings_message
e2e_wait_for 10 e2e_no_window "$QFD" 487x283 || e2e_fail "$CASE: the splash did not hide itself"
if "$QFDCTL_BIN" send "$inst" 2>/dev/null; then e2e_fail "$CASE: a record went into a 10 MB file"; fi
sleep 1
e2e_no_window "$QFD" "$screen" || e2e_fail "$CASE: an alert from a file too large to read"
! e2e_window_titled "$QFD" "QF Detect" >/dev/null || e2e_fail "$CASE: the message came again"
end_case "QF Detect"
[[ $(md5sum <"$inst/qfd.ini") == "$before" ]] || e2e_fail "$CASE: the file changed"
[[ ! -e $inst/qfd.ini.lock && ! -e $inst/qfd.ini.tmp ]] || e2e_fail "$CASE: files beside it"

# --- A pipe in place of the settings file: nothing blocks on it and nothing replaces it.
inst=$(e2e_install)
mkfifo "$inst/qfd.ini"
start_case "pipe as settings file" "$inst"
answer_settings_message
e2e_wait_for 10 e2e_no_window "$QFD" 487x283 || e2e_fail "$CASE: the splash did not hide itself"
e2e_open_tray_menu "$QFD" "$(e2e_tray_icon "$QFD")"
xdotool key Escape
e2e_wait_for 10 e2e_menu_closed "$QFD" || e2e_fail "$CASE: the menu stayed open"
end_case "QF Detect"
[[ -p $inst/qfd.ini ]] || e2e_fail "$CASE: the pipe was replaced"

e2e_log "passed"
