#!/usr/bin/env bash
# Sets everything up and runs every check: format, the Windows build with its tests under Wine,
# both release archives built, unpacked and started, the warnings-as-errors build with all tests
# (core, Qt views, end-to-end under Xvfb, the Windows program under Wine beside a Linux one), the
# core and Qt view tests and one end-to-end session under ASan+UBSan, and a short fuzz run.
# Prints how long each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${QFD_FUZZ_SECONDS:-60}
JOBS=$(nproc)

stage_start=0
stage() {
    stage_end
    stage_name=$1
    stage_start=$(date +%s)
    echo "=== $stage_name"
}
stage_end() {
    if [ "$stage_start" -ne 0 ]; then
        echo "=== $stage_name took $(( $(date +%s) - stage_start )) s"
    fi
}

stage "setup"
scripts/setup.sh

stage "format check"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

stage "Windows build and its tests under Wine"
# On a virtual X server of its own, so that the tests of the Windows windows run too.
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" scripts/test-win32.sh

stage "release archives: built, unpacked and started"
# Needs the Windows build of the stage before; builds the Linux archive's programs in release mode.
scripts/check-release.sh

stage "dev build (warnings as errors)"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$JOBS"

stage "tests: core, Qt views, end-to-end"
# The end-to-end tests of the Windows program run the one just built; here it must be there.
QFD_REQUIRE_WIN32=1 ctest --preset dev -j 1

stage "asan build: core and Qt view tests, one end-to-end session"
# Everything built with ASan and UBSan; the run-time options (a finding aborts the process with
# its report) and the leak suppressions come with the test preset.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$JOBS"
ctest --preset asan -L '^(core|qt)$' -j "$JOBS"
# The real program in a long session under X: a fault in a view ends qfd and fails the test.
# Matched by its exact name, and a name that matches nothing is an error, not a pass.
ctest --preset asan -R '^e2e_long_session_test$' --no-tests=error

stage "fuzz ${FUZZ_SECONDS} s"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$JOBS" --target ini_fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/fuzz/corpus/* "$corpus"/
# The fuzzer's own exit status decides; an input that fails is kept under build/fuzz/.
fuzz_log=build/fuzz/ini_fuzz.log
fuzz_status=0
build/fuzz/tests/fuzz/ini_fuzz -max_total_time="$FUZZ_SECONDS" -max_len=4096 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/ "$corpus" >"$fuzz_log" 2>&1 || fuzz_status=$?
grep -E '^(stat::number_of_executed_units|Done|==)' "$fuzz_log" || true
if [ "$fuzz_status" -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|Test unit written|^ +#[0-9]+ ' "$fuzz_log" | head -40
    echo "The fuzzer failed (exit status $fuzz_status); repeat with: build/fuzz/tests/fuzz/ini_fuzz FILE"
    exit 1
fi

stage_end
echo "All checks passed."
