#!/usr/bin/env bash
# Hostile records in the real program's mailbox: binary and NUL bytes, waiting times of 32767,
# -5, "abc" and 1E9, markup in the texts and the sender's name, and Type rewritten by other processes as fast as
# they can. The program keeps running, shows no message box, shows each waiting record as an
# alert that a click closes, comes to rest with its mailbox done, and keeps its own settings.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require cmp

HAMMER_SECONDS=${QFD_HAMMER_SECONDS:-5}
HAMMERS=4

e2e_start_session
screen=$(e2e_screen_size)
inst=$(e2e_install)
ini="$inst/qfd.ini"
# Waiting from before the start: a record whose name line holds a NUL byte (so it is no key and
# the name defaults) and whose texts are bytes that are no UTF-8.
printf '[Settings]\r\nmyName=Own\r\nQFtext=Own top\r\nAtext=Own bottom\r\n' >"$ini"
printf '[Commands]\r\nDelay=0\r\nNetName=Nu\x00l\r\nQFtext=\xff\xfe\x80\r\nAtext=\x01\x02\r\n' >>"$ini"
printf 'Type=1\r\n' >>"$ini"
sed 's/^Type=1\r$/Type=0\r/' "$ini" >"$E2E_TMP/binary-done"
e2e_start_installation "$inst"
qfd=$E2E_LAST_PID

DIALOGS="$E2E_TMP/dialogs.log"
touch "$DIALOGS"
e2e_spawn e2e_watch_dialogs "$qfd" "$DIALOGS"

put() { "$QFDCTL_BIN" write "$ini" Commands "$1" "$2" || e2e_fail "cannot write $1"; }
# A record written key by key, Type last, as a sender does.
record() {  # record DELAY NAME TOP BOTTOM
    put Delay "$1"
    put NetName "$2"
    put QFtext "$3"
    put Atext "$4"
    put Type 1
}
mailbox() { e2e_ini "$inst" Commands "$1"; }
alert_shown() { e2e_has_window "$qfd" "$screen"; }
mailbox_done() { [[ $(mailbox Type) == 0 ]]; }
# Waits for an alert and clicks alerts away until the mailbox is done and no alert is left: a
# record written key by key over one still waiting may first show as a mixture, then whole.
click_until_rest() {  # click_until_rest WHAT
    local deadline=$((SECONDS + 15)) id
    e2e_wait_for 10 alert_shown || e2e_fail "$1: no alert"
    until mailbox_done && e2e_no_window "$qfd" "$screen"; do
        ((SECONDS < deadline)) || e2e_fail "$1: the mailbox did not come to rest"
        id=$(e2e_windows "$qfd" "$screen" | head -n1)
        [[ -z $id ]] || e2e_click_window "$id" 1
        sleep 0.2
    done
}

click_until_rest "binary record"
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "the splash did not hide"
grep -av '^splashDelay=' "$ini" | cmp - "$E2E_TMP/binary-done" >&2 ||
    e2e_fail "the binary record did not stay byte for byte"
e2e_log "binary record shown and kept"

# A waiting time of 32767 s is counted down in the file, a second at a time, and shows nothing.
record " 32767" "Patient" "Later" "Much later"
e2e_wait_for 5 bash -c "[[ \$('$QFDCTL_BIN' read '$ini' Commands Delay) == 32765 ]]" ||
    e2e_fail "32767 is not counted down: Delay is $(mailbox Delay)"
alert_shown && e2e_fail "a waiting time of 32767 s gave an alert"
e2e_log "32767 s counted down"
# A record written meanwhile replaces it; -5 seconds to wait means none.
record "-5" "Impatient" "Now" "At once"
click_until_rest "Delay -5"
[[ $(mailbox NetName) == Impatient ]] || e2e_fail "the alert was not the newer record's"
# Waiting times that are no number, or too large for 16 bits, wait no longer.
for delay in abc 1E9 "" "1e999" "+-3"; do
    record "$delay" "Damaged" "Delay '$delay'" "shown at once"
    click_until_rest "Delay '$delay'"
done
e2e_log "damaged waiting times shown at once"

# Markup from the network is text: the alert shows and closes like any other, the record stays as
# it came, and the own texts are untouched.
"$QFDCTL_BIN" send --name "<a href='http://example.invalid/'>Eve</a>" \
    --top "<h1>Big</h1><img src=x>" --bottom "&amp; <br> &Save" "$inst"
click_until_rest "markup"
[[ $(mailbox QFtext) == "<h1>Big</h1><img src=x>" ]] || e2e_fail "the record's text changed"
e2e_log "markup shown and closed"

# Type rewritten by several processes at once, as fast as they can, while alerts are clicked away.
hammer() {  # hammer N: writes until the stop file appears; the count in $E2E_TMP/hammer.N
    local n=0 values=("1" "0" " 1" "x" "" "0" "TRUE" "-1")
    while [[ ! -e $E2E_TMP/stop ]]; do
        "$QFDCTL_BIN" write "$ini" Commands Type "${values[n % ${#values[@]}]}" ||
            echo failed >>"$E2E_TMP/hammer.failed"
        n=$((n + 1))
    done
    echo "$n" >"$E2E_TMP/hammer.$1"
}
hammer_pids=()
for ((h = 0; h < HAMMERS; h++)); do
    e2e_spawn hammer "$h"
    hammer_pids+=("$E2E_LAST_PID")
done
clicks=0
end=$((SECONDS + HAMMER_SECONDS))
while ((SECONDS < end)); do
    for id in $(e2e_windows "$qfd" "$screen"); do
        e2e_click_window "$id" 1
        clicks=$((clicks + 1))
    done
    sleep 0.1
done
touch "$E2E_TMP/stop"
for pid in "${hammer_pids[@]}"; do wait "$pid"; done
writes=0
for f in "$E2E_TMP"/hammer.[0-9]*; do writes=$((writes + $(cat "$f"))); done
e2e_log "Type written $writes times by $HAMMERS processes in $HAMMER_SECONDS s" \
    "($((writes / HAMMER_SECONDS)) a second); $clicks alerts clicked away meanwhile"
[[ ! -e $E2E_TMP/hammer.failed ]] || e2e_fail "$(wc -l <"$E2E_TMP/hammer.failed") writes failed"
# The last word is a waiting record: it is shown once more, then everything rests.
put Type 1
click_until_rest "after the hammering"
sleep 1
e2e_no_window "$qfd" "$screen" || e2e_fail "an alert came after the mailbox was done"

e2e_alive "$qfd" || e2e_fail "qfd ended"
[[ ! -s $DIALOGS ]] || e2e_fail "message boxes appeared: $(sort -u "$DIALOGS")"
[[ $(sed -e '/^\[Commands\]\r\{0,1\}$/,$d' "$ini" | grep -v '^splashDelay=' | md5sum) == \
    "$(printf '[Settings]\r\nmyName=Own\r\nQFtext=Own top\r\nAtext=Own bottom\r\n' | md5sum)" ]] ||
    e2e_fail "the own settings changed"
e2e_log "passed"
