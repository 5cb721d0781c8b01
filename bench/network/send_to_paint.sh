#!/usr/bin/env bash
# From "qfdctl send" returning to the receiver's alert window on screen, over 20 alerts: a real
# qfd under Xvfb (no window manager, so the alert maps straight onto the root window), xev
# timestamping every window that maps. Prints each delay, the median and the 95th percentile.
# The installation is a local folder, so its notice of the change wakes the receiver as soon as
# the record is renamed into place: the alert may map before qfdctl has returned (a delay below 0).
# Usage: bench/network/send_to_paint.sh QFD QFDCTL [RUNS]
set -euo pipefail
export QFD_BIN=$(realpath "$1") QFDCTL_BIN=$(realpath "$2")
runs=${3:-20}
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/lib/session.sh"
e2e_require xev

e2e_start_x
inst=$(e2e_install)
e2e_start_qfd "$inst"
qfd=$E2E_LAST_PID
e2e_wait_for 10 e2e_splash_visible "$qfd" || e2e_fail "no splash"
e2e_wait_for 10 e2e_no_window "$qfd" - || e2e_fail "the splash did not hide"
latency=$(e2e_ini "$inst" Settings Latency 100)
screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')

maps="$E2E_TMP/maps"
: >"$maps"
( xev -root -event substructure 2>/dev/null | while IFS= read -r line; do
      [[ $line == MapNotify* ]] && date +%s%N >>"$maps"
  done ) &
E2E_PIDS+=($!)
sleep 0.5

delays=()
for ((i = 1; i <= runs; i++)); do
    before=$(wc -l <"$maps")
    "$QFDCTL_BIN" send "$inst"
    sent=$(date +%s%N)
    e2e_wait_for 10 bash -c "(( \$(wc -l <'$maps') > $before ))" || e2e_fail "no alert after send $i"
    mapped=$(sed -n "$((before + 1))p" "$maps")
    delays+=($(((mapped - sent) / 1000000)))
    e2e_wait_for 10 e2e_has_window "$qfd" "$screen" || e2e_fail "alert $i not full screen"
    xdotool mousemove 5 5 click 1
    e2e_wait_for 10 e2e_no_window "$qfd" "$screen" || e2e_fail "alert $i did not close"
    # Send at a random phase of the polling interval: a random number of milliseconds, not of
    # tenths, which would keep the phase the click left.
    sleep "0.$(printf '%03d' $((RANDOM % 1000)))"
done
sorted=($(printf '%s\n' "${delays[@]}" | sort -n))
p95=${sorted[$(((${#sorted[@]} * 95 + 99) / 100 - 1))]}
echo "send to alert on screen (ms): ${delays[*]}"
echo "median ${sorted[$((${#sorted[@]} / 2))]} ms, 95th percentile $p95 ms; target 30 ms" \
    "(by the poll alone: Latency + 50 = $((latency + 50)) ms)"
