#!/usr/bin/env bash
# Measures qfd against a minimal Qt tray program (icon, menu, 100 ms timer reading a 1 KB file),
# both built and run here, in a private X session with a window manager and a tray host:
#   - start-up: from exec to the first image sent to the X server (qfd: its 487 x 283 splash),
#     median of RUNS alternating starts after one warm-up start each;
#   - idle CPU while polling at 100 ms, over IDLE seconds once the splash has gone;
#   - resident memory at the end of that time.
# Usage: bench/startup/measure.sh [BUILD_DIR] [RUNS] [IDLE]   (defaults: build/release 15 30)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${1:-$ROOT/build/release}
RUNS=${2:-15}
IDLE=${3:-30}

if [[ ! -f $BUILD/CMakeCache.txt ]]; then
    cmake --preset release -B "$BUILD" -S "$ROOT" >/dev/null
fi
cmake --build "$BUILD" -j2 --target qfd qfdctl minimal_tray first_paint_probe >/dev/null
export QFD_BIN=$BUILD/qt/qfd QFDCTL_BIN=$BUILD/tools/qfdctl/qfdctl
MINIMAL=$BUILD/bench/startup/minimal_tray
PROBE=$BUILD/bench/startup/libfirst_paint_probe.so

source "$ROOT/tests/e2e/lib/session.sh"
e2e_require
e2e_start_session >/dev/null 2>&1

# Starts a program under the probe and prints the milliseconds to the first image that matches
# SIZE ("-" for any), then ends the program.
first_paint() {  # first_paint SIZE PROGRAM [ARGS...]
    local size=$1
    shift
    local out="$E2E_TMP/probe.$RANDOM"
    : >"$out"
    (QFD_PROBE_OUT=$out QFD_PROBE_T0=$EPOCHREALTIME LD_PRELOAD=$PROBE exec "$@" >/dev/null 2>&1) &
    local pid=$! ms=""
    local deadline=$((SECONDS + 20))
    while [[ -z $ms ]] && ((SECONDS < deadline)); do
        if [[ $size == - ]]; then
            ms=$(awk 'NR == 1 {print $4}' "$out")
        else
            ms=$(awk -v w="${size%x*}" -v h="${size#*x}" '$2 == w && $3 == h {print $4; exit}' "$out")
        fi
        [[ -n $ms ]] || sleep 0.02
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    # The window manager and the tray host are left to finish with the ended program (its icon
    # may dock just after its first paint), so that their work does not fall into the next start.
    sleep 0.3
    echo "${ms:-nan}"
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

start_qfd() {
    local dir
    dir=$(e2e_install)
    first_paint 487x283 "$dir/qfd"
}
start_minimal() { first_paint - "$MINIMAL" "$E2E_TMP/poll.dat"; }

start_qfd >/dev/null
start_minimal >/dev/null
qfd_ms=() minimal_ms=()
for ((i = 0; i < RUNS; i++)); do
    qfd_ms+=("$(start_qfd)")
    minimal_ms+=("$(start_minimal)")
done
q=$(printf '%s\n' "${qfd_ms[@]}" | median)
m=$(printf '%s\n' "${minimal_ms[@]}" | median)
echo "start-up to first paint, median of $RUNS (ms):"
echo "  qfd splash:      $q    (runs: ${qfd_ms[*]})"
echo "  minimal program: $m    (runs: ${minimal_ms[*]})"
awk -v q="$q" -v m="$m" 'BEGIN {printf "  ratio:           %.2f (limit 1.2)\n", q / m}'

# CPU seconds used by a process so far, all its threads, to the nanosecond: the clock ticks of
# /proc/PID/stat would show an idle program's few milliseconds a minute in steps of 10 ms.
cpu_seconds() {
    cat /proc/"$1"/task/*/schedstat | awk '{ns += $1} END {printf "%.9f", ns / 1e9}'
}
rss_mb() { awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; }

idle() {  # idle NAME PROGRAM [ARGS...]
    local name=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 5  # past the splash and the first allocations
    local c0 t0=$EPOCHREALTIME
    c0=$(cpu_seconds "$pid")
    sleep "$IDLE"
    local c1 t1=$EPOCHREALTIME
    c1=$(cpu_seconds "$pid")
    awk -v n="$name" -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v r="$(rss_mb "$pid")" \
        'BEGIN {printf "  %-16s CPU %.3f %%   RSS %s MB\n", n ":", 100 * (c1 - c0) / (t1 - t0), r}'
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "idle while polling every 100 ms, over $IDLE s:"
dir=$(e2e_install)
idle qfd "$dir/qfd"
idle minimal "$MINIMAL" "$E2E_TMP/poll.dat"
