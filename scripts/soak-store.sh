#!/usr/bin/env bash
# Soaks the settings store under ASan+UBSan: the multi-process stress tests (eight senders on one
# mailbox, writers killed at random moments, Type rewritten every millisecond), on both write
# paths, RUNS times in a row (default 20), each run a fresh process, while one core is kept busy.
# Keeps the output of each failing run (in QFD_SOAK_LOGS, or else a new temporary folder), prints
# the tally per test and exits non-zero when any run failed.  Usage: scripts/soak-store.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

RUNS=${1:-20}
FILTER='Paths/EightSenders.*:Paths/KilledWriters.*:Paths/TypeHammer.*'
BIN=build/asan/tests/qfd_core_tests
LOGS=${QFD_SOAK_LOGS:-$(mktemp -d "${TMPDIR:-/tmp}/qfd-soak.XXXXXX")}
mkdir -p "$LOGS"

cmake --preset asan >/dev/null
cmake --build --preset asan -j2 --target qfd_core_tests

# The sanitizer options of the asan test preset, so that a finding fails the run the same way.
eval "$(python3 - "$ROOT" <<'EOF'
import json, shlex, sys
preset = next(p for p in json.load(open("CMakePresets.json"))["testPresets"] if p["name"] == "asan")
for name, value in preset["environment"].items():
    print(f"export {name}={shlex.quote(value.replace('${sourceDir}', sys.argv[1]))}")
EOF
)"

# Every test the filter selects, by full name (Suite.Test/Param).
mapfile -t TESTS < <("$BIN" --gtest_list_tests --gtest_filter="$FILTER" |
    awk '/^[^ ]/ {suite = $1} /^  / {print suite $1}')
[ ${#TESTS[@]} -gt 0 ] || { echo "no test matches $FILTER" >&2; exit 1; }
declare -A FAILED
for t in "${TESTS[@]}"; do FAILED[$t]=0; done

yes >/dev/null &
BUSY=$!
trap 'kill "$BUSY" 2>/dev/null || true' EXIT

echo "Soaking ${#TESTS[@]} tests, $RUNS runs, one core kept busy; logs of failing runs in $LOGS"
failed_runs=0 start=$(date +%s)
for run in $(seq 1 "$RUNS"); do
    log=$LOGS/run-$run.log t0=$(date +%s) status=0
    "$BIN" --gtest_filter="$FILTER" >"$log" 2>&1 || status=$?
    bad=0
    for t in "${TESTS[@]}"; do  # a test without its OK line failed, crashed or never ran
        grep -qF "[       OK ] $t " "$log" || { FAILED[$t]=$((FAILED[$t] + 1)); bad=1; }
    done
    if [ "$status" -ne 0 ] || [ "$bad" -ne 0 ]; then
        failed_runs=$((failed_runs + 1))
        echo "run $run/$RUNS: FAILED (exit status $status, $(($(date +%s) - t0)) s): $log"
    else
        echo "run $run/$RUNS: passed ($(($(date +%s) - t0)) s)"
        rm -f "$log"
    fi
done

echo "== Tally after $RUNS runs ($(($(date +%s) - start)) s, load: $(cut -d' ' -f1-3 /proc/loadavg))"
for t in "${TESTS[@]}"; do
    printf '%-79s passed %d/%d, failed %d\n' "$t" $((RUNS - FAILED[$t])) "$RUNS" "${FAILED[$t]}"
done
echo "runs failed: $failed_runs/$RUNS"
[ "$failed_runs" -eq 0 ] || { echo "output of the failing runs: $LOGS"; exit 1; }
