#!/usr/bin/env bash
# Real alert sounds, recorded and measured: a private PulseAudio server with a null sink, its
# monitor recorded with parec, the recording cut into sounds with sox. The real Qt alert window and
# audio output are driven by the alert_sound_test program (its functions that need a server).
#   - "Whoop" played once is heard once, for 0.92 s (+-0.1 s);
#   - an alert with "Weeooweeoo" left open for 7 s plays it whole (2.87 s) at least twice, and the
#     once-a-second requests never cut it;
#   - closing an alert in the middle of "Weeooweeoo" stops it at once.
# Exits 77 when pulseaudio, parec or sox is missing.
set -u

for tool in pulseaudio pactl parec sox awk timeout; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

driver="${QFD_ALERT_SOUND_DRIVER:-$(dirname "${QFD_BIN:?QFD_BIN is not set}")/../tests/qt/alert_sound_test}"
if [ ! -x "$driver" ]; then
    echo "FAIL: the sound driver is not built: $driver"
    exit 1
fi

work="$(mktemp -d)"
server=""
recorder=""
cleanup() {
    [ -n "$recorder" ] && kill "$recorder" 2> /dev/null && wait "$recorder" 2> /dev/null
    [ -n "$server" ] && kill "$server" 2> /dev/null && wait "$server" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*"
    exit 1
}

# A server of our own, found through the fresh runtime folder and nothing else.
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
unset PULSE_SERVER PULSE_SINK PULSE_SOURCE PULSE_RUNTIME_PATH PULSE_STATE_PATH PULSE_COOKIE
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
# In the foreground under timeout, so the server ends even if this script is killed.
timeout -s KILL 240 pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    --log-target=stderr --load="module-null-sink sink_name=nullsink" \
    --load="module-native-protocol-unix" 2> "$work/server.log" &
server=$!
for _ in $(seq 100); do
    timeout 5 pactl info > /dev/null 2>&1 && break
    sleep 0.1
done
timeout 5 pactl info > /dev/null 2>&1 || { cat "$work/server.log"; fail "the sound server did not start"; }

# record NAME FUNCTION: runs one function of the driver while the sink's monitor is recorded.
record() {
    local raw="$work/$1.raw"
    parec -d nullsink.monitor --latency-msec=10 --format=s16le --rate=22050 --channels=1 \
        --raw > "$raw" &
    recorder=$!
    # The null sink hands its monitor out only once it runs at the recorder's latency; sound
    # played before that comes late and in lumps.
    for _ in $(seq 100); do
        [ -s "$raw" ] && break
        sleep 0.05
    done
    [ -s "$raw" ] || fail "nothing recorded from the null sink"
    sleep 0.3
    if ! timeout 60 env QT_QPA_PLATFORM=offscreen QFD_SOUND_SERVER_TEST=1 "$driver" "$2" \
        > "$work/$1.log" 2>&1; then
        cat "$work/$1.log"
        fail "$2 did not pass"
    fi
    grep QINFO "$work/$1.log"
    sleep 0.5
    kill "$recorder"
    wait "$recorder" 2> /dev/null
    recorder=""
}

# segments NAME: one line "start end length" (seconds) per sound in the recording: samples above
# 1 % of full scale, with pauses shorter than 50 ms counted as part of the sound.
segments() {
    sox -t raw -r 22050 -e signed -b 16 -c 1 "$work/$1.raw" -t dat - |
        awk -v threshold=0.01 -v pause=0.05 '
            /^;/ { next }
            {
                t = $1; v = $2 < 0 ? -$2 : $2
                if (v <= threshold) next
                if (!inSound) { start = t; inSound = 1 }
                else if (t - last > pause) { printf "%.3f %.3f %.3f\n", start, last, last - start; start = t }
                last = t
            }
            END { if (inSound) printf "%.3f %.3f %.3f\n", start, last, last - start }'
}

within() {  # within VALUE LOW HIGH
    awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'
}

status=0

record whoop whoopOnce
mapfile -t sounds < <(segments whoop)
printf 'Whoop once:'; printf ' [%s]' "${sounds[@]}"; echo
if [ "${#sounds[@]}" -ne 1 ]; then
    echo "FAIL: Whoop played once was heard ${#sounds[@]} times"
    status=1
elif ! within "$(echo "${sounds[0]}" | cut -d' ' -f3)" 0.82 1.02; then
    echo "FAIL: Whoop lasted ${sounds[0]##* } s, not 0.92 s"
    status=1
fi

record siren weeooweeooAlertLeftOpenForSevenSeconds
mapfile -t sounds < <(segments siren)
printf 'Weeooweeoo alert, 7 s:'; printf ' [%s]' "${sounds[@]}"; echo
whole=0
for i in "${!sounds[@]}"; do
    length="${sounds[$i]##* }"
    if within "$length" 2.773 2.973; then
        whole=$((whole + 1))
    elif [ "$i" -lt $((${#sounds[@]} - 1)) ]; then
        echo "FAIL: Weeooweeoo number $((i + 1)) lasted $length s: cut off before its end"
        status=1
    elif ! within "$length" 0 2.973; then
        echo "FAIL: the last Weeooweeoo lasted $length s"
        status=1
    fi
done
if [ "$whole" -lt 2 ]; then
    echo "FAIL: Weeooweeoo was heard whole $whole times in 7 s, not at least twice"
    status=1
fi

record closed alertClosedInTheMiddleOfTheSound
mapfile -t sounds < <(segments closed)
printf 'Weeooweeoo alert closed after 1.5 s:'; printf ' [%s]' "${sounds[@]}"; echo
if [ "${#sounds[@]}" -ne 1 ]; then
    echo "FAIL: ${#sounds[@]} sounds heard, not one stopped by the close"
    status=1
elif ! within "${sounds[0]##* }" 0.5 1.6; then
    echo "FAIL: the sound went on for ${sounds[0]##* } s; the close at 1.0 s into it did not stop it"
    status=1
fi

[ "$status" -eq 0 ] && echo "PASS: alert sounds heard as they should be"
exit "$status"
