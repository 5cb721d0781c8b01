#!/usr/bin/env bash
# Another process holds qfd.ini.lock for 30 s while qfd polls every 10 ms. Meanwhile the program
# gains no threads and no descriptors, its tray menu keeps answering, and a record sent to it (the
# sender gives up waiting after 2 s and replaces the file all the same) is not shown while the
# lock is held: the tick never waits for the lock and leaves the record for a later tick. Once
# the lock is free, the alert is up within a second.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require python3

HOLD_SECONDS=30
MAX_SPREAD=2       # threads or descriptors, highest less lowest count over the hold
MAX_ALERT_MS=1000  # from the lock's release to the alert on the screen
MAX_MENU_MS=1500   # from a right click on the icon to the tray menu on the screen

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
threads() { awk '/^Threads:/ {print $2}' "/proc/$1/status"; }
descriptors() { find "/proc/$1/fd" -mindepth 1 -maxdepth 1 | wc -l; }

e2e_start_session
e2e_start_installation --set Settings Latency " 10"
inst=$E2E_LAST_DIR qfd=$E2E_LAST_PID
icon=$(e2e_tray_icon "$qfd")
screen=$(e2e_screen_size)
# The splash counts down in the file on every tick; once it is done a tick only reads.
e2e_wait_for 15 bash -c "[[ \$('$QFDCTL_BIN' read '$inst/qfd.ini' Settings splashDelay) == 1 ]]" ||
    e2e_fail "the splash countdown did not end"
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "the splash stayed"

# The holder: a traditional record lock on both bytes, the turnstile and the lock itself.
e2e_spawn python3 -c '
import fcntl, os, sys, time
fd = os.open(sys.argv[1], os.O_RDWR | os.O_CREAT, 0o666)
fcntl.lockf(fd, fcntl.LOCK_EX, 2, 0)
print("locked", flush=True)
time.sleep(int(sys.argv[2]))
' "$inst/qfd.ini.lock" $((HOLD_SECONDS + 60)) >"$E2E_TMP/holder.log" 2>&1
holder=$E2E_LAST_PID
e2e_wait_for 10 grep -qx locked "$E2E_TMP/holder.log" || e2e_fail "the holder did not lock"
held_since=$SECONDS
e2e_log "lock held by pid $holder"

t_min=999999 t_max=0 f_min=999999 f_max=0 t_series="" f_series="" menus=0
sample() {
    local t f
    e2e_alive "$qfd" || e2e_fail "qfd ended while the lock was held"
    t=$(threads "$qfd") f=$(descriptors "$qfd")
    ((t < t_min)) && t_min=$t
    ((t > t_max)) && t_max=$t
    ((f < f_min)) && f_min=$f
    ((f > f_max)) && f_max=$f
    t_series+=" $t" f_series+=" $f"
    e2e_no_window "$qfd" "$screen" || e2e_fail "an alert was shown while the lock was held"
}

# The tray menu opens at the first right click and closes with Escape, while every tick finds the
# lock taken: a tick that waited for the lock would hold the click up for seconds.
menu_round() {
    local start took
    start=$(now_ms)
    e2e_click_window "$icon" 3
    until e2e_menu_open "$qfd"; do
        (($(now_ms) - start <= MAX_MENU_MS)) || e2e_fail "no menu $MAX_MENU_MS ms after a right click"
        sleep 0.05
    done
    took=$(($(now_ms) - start))
    xdotool key Escape
    e2e_wait_for 10 e2e_menu_closed "$qfd" || e2e_fail "Escape did not close the menu"
    e2e_log "the tray menu opened $took ms after a right click"
    menus=$((menus + 1))
}

sample
start=$(now_ms)
"$QFDCTL_BIN" send --name Lock --top "Held top" --bottom "Held bottom" "$inst" ||
    e2e_fail "qfdctl send failed while the lock was held"
e2e_log "qfdctl send took $(($(now_ms) - start)) ms"
grep -aq '^Type=1' "$inst/qfd.ini" || e2e_fail "the record is not in the file: $(cat "$inst/qfd.ini")"
sample

for mark in 8 20; do
    while ((SECONDS - held_since < mark)); do sample; sleep 0.5; done
    menu_round
    sample
done
while ((SECONDS - held_since < HOLD_SECONDS)); do sample; sleep 0.5; done
sample
e2e_alive "$holder" || e2e_fail "the holder ended before its time: $(cat "$E2E_TMP/holder.log")"
e2e_log "threads over the hold:$t_series"
e2e_log "descriptors over the hold:$f_series"
echo "while held: threads min $t_min max $t_max, descriptors min $f_min max $f_max, $menus menu rounds"
((t_max - t_min <= MAX_SPREAD)) || e2e_fail "threads went from $t_min to $t_max while the lock was held"
((f_max - f_min <= MAX_SPREAD)) || e2e_fail "descriptors went from $f_min to $f_max while the lock was held"

released=$(now_ms)
kill "$holder"
until e2e_has_window "$qfd" "$screen"; do
    (($(now_ms) - released <= 5000)) || e2e_fail "no alert 5 s after the lock was released"
    sleep 0.02
done
delay=$(($(now_ms) - released))
echo "alert shown $delay ms after the lock was released"
((delay <= MAX_ALERT_MS)) || e2e_fail "the alert came $delay ms after the release, over $MAX_ALERT_MS ms"
[[ $(xdotool getwindowname "$(e2e_windows "$qfd" "$screen" | head -n1)") == Alert ]] ||
    e2e_fail "the full-screen window is not the alert"
e2e_log "passed"
