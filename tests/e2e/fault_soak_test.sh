#!/usr/bin/env bash
# A soak of the real program: an alert raised through the mailbox and clicked away every second.
# After a warm-up of 20 alerts, resident memory may grow by less than 2 MB over the measured
# alerts and the number of open file descriptors must not change. QFD_SOAK_SECONDS sets the
# measured length (30 by default; a longer run by hand: QFD_SOAK_SECONDS=600).
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require

WARMUP=20
MEASURED=${QFD_SOAK_SECONDS:-30}
MAX_GROWTH_KB=2048

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
# Each polling tick opens the settings file and its lock for a moment: the fewest descriptors of a
# few looks is the number the program keeps open.
fd_count() {
    local i n least=
    for ((i = 0; i < 5; i++)); do
        n=$(find "/proc/$1/fd" -mindepth 1 -maxdepth 1 | wc -l)
        [[ -z $least || $n -lt $least ]] && least=$n
        sleep 0.03
    done
    echo "$least"
}

e2e_start_session
e2e_start_installation
inst=$E2E_LAST_DIR qfd=$E2E_LAST_PID
e2e_wait_for 10 e2e_no_window "$qfd" 487x283 || e2e_fail "the splash did not hide by itself"
screen=$(e2e_screen_size)
mailbox_done() { [[ $(e2e_ini "$inst" Commands Type) == 0 ]]; }

# One alert: a record in the mailbox, the full-screen window, a click, the mailbox done again.
alert_cycle() {
    local n=$1 alert
    "$QFDCTL_BIN" send --name "soak" --top "Soak $n" --bottom "cycle $n" "$inst" ||
        e2e_fail "cycle $n: qfdctl send failed"
    e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "cycle $n: no alert shown"
    alert=$(e2e_windows "$qfd" "$screen" | head -n1)
    e2e_click_window "$alert" 1
    e2e_wait_for 10 e2e_no_window "$qfd" "$screen" || e2e_fail "cycle $n: the click did not close it"
    e2e_wait_for 10 mailbox_done || e2e_fail "cycle $n: the mailbox was not marked done"
    e2e_alive "$qfd" || e2e_fail "cycle $n: qfd ended"
}

for ((n = 1; n <= WARMUP; n++)); do alert_cycle "w$n"; done
rss0=$(rss_kb "$qfd")
fds0=$(fd_count "$qfd")
e2e_log "after $WARMUP warm-up alerts: VmRSS ${rss0} kB, ${fds0} open descriptors"

series=""
peak=$rss0
start=$SECONDS
for ((n = 1; n <= MEASURED; n++)); do
    cycle_start=${EPOCHREALTIME/./}
    alert_cycle "$n"
    rss=$(rss_kb "$qfd")
    fds=$(fd_count "$qfd")
    ((rss > peak)) && peak=$rss
    series+=" $rss"
    [[ $fds == "$fds0" ]] || {
        ls -l "/proc/$qfd/fd" >&2
        e2e_fail "alert $n: $fds open descriptors, $fds0 after the warm-up"
    }
    # One alert a second: wait out the rest of this one's second.
    rest_us=$((1000000 - (${EPOCHREALTIME/./} - cycle_start)))
    ((rest_us <= 0)) || sleep "$(printf '0.%06d' "$rest_us")"
done
rss1=$(rss_kb "$qfd")
growth=$((rss1 - rss0))
e2e_log "VmRSS (kB) after each measured alert:$series"
e2e_log "soak: $MEASURED alerts in $((SECONDS - start)) s; VmRSS ${rss0} -> ${rss1} kB" \
    "(${growth} kB, peak ${peak} kB); descriptors ${fds0} -> $(fd_count "$qfd")"
((growth < MAX_GROWTH_KB)) || e2e_fail "resident memory grew by ${growth} kB over $MEASURED alerts"
[[ $(e2e_ini "$inst" Settings QFtext) == "" ]] || e2e_fail "received texts reached the settings"
e2e_log "passed"
