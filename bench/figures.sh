#!/usr/bin/env bash
# Regenerates the table of bench/README.md: builds the release programs, runs every measurement
# (the benchmarks, the Qt and X measurements under their own virtual X servers) and prints one
# Markdown row per performance target. Takes a few minutes; run it on an otherwise idle machine.
# Usage: bench/figures.sh [BUILD_DIR]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build/release}
cd "$ROOT"
[[ -f $BUILD/CMakeCache.txt ]] || cmake --preset release -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target settings_bench network_bench menu_refresh_bench alert_bench \
    qfd qfdctl minimal_tray first_paint_probe >/dev/null
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# Median real time (ns) of one Google Benchmark case from its CSV output.
median_ns() {  # median_ns CSV NAME
    awk -F, -v n="\"$2_median\"" '$1 == n {
        t = $3; u = $5; gsub(/"/, "", u)
        f = (u == "ms") ? 1e6 : (u == "us") ? 1e3 : 1
        printf "%.0f", t * f }' "$1"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b + 0 == 0) print "—"; else printf "%.2f", a / b}'; }
us() { awk -v n="$1" 'BEGIN {printf "%.1f µs", n / 1000}'; }
ms() { awk -v n="$1" 'BEGIN {printf "%.0f ms", n / 1e6}'; }
row() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }

"$BUILD/bench/settings_bench" --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv >"$OUT/settings.csv" 2>/dev/null
"$BUILD/bench/network_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv >"$OUT/network.csv" 2>/dev/null
"$BUILD/bench/network/menu_refresh_bench" 21 >"$OUT/menus.txt" 2>/dev/null
bench/network/send_to_paint.sh "$BUILD/qt/qfd" "$BUILD/tools/qfdctl/qfdctl" 20 >"$OUT/paint.txt" 2>/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" "$BUILD/bench/alert/alert_bench" 21 --fonts-loaded \
    >"$OUT/alert.txt" 2>/dev/null
bench/startup/measure.sh "$BUILD" 15 60 >"$OUT/startup.txt" 2>/dev/null

read_ini=$(median_ns "$OUT/settings.csv" ReadIni/type_1k)
read_floor=$(median_ns "$OUT/settings.csv" Floor/read_1k)
write_ini=$(median_ns "$OUT/settings.csv" WriteIni/one_key_1k)
write_floor=$(median_ns "$OUT/settings.csv" Floor/rewrite_1k)
slots=$(median_ns "$OUT/settings.csv" ReadIni/slots_501)
send=$(median_ns "$OUT/network.csv" SendToAll/501/real_time)
send_floor=$(median_ns "$OUT/network.csv" Floor/rewrite_501)
send_busy=$(median_ns "$OUT/network.csv" SendToAll/501_with_competing_writer/real_time)
tick=$(median_ns "$OUT/network.csv" PollTick/lock_free/real_time)
tick_held=$(median_ns "$OUT/network.csv" PollTick/lock_held_by_another/real_time)
menus=$(sed -n 's/.*median \([0-9.]*\) ms.*/\1/p' "$OUT/menus.txt")
p95=$(sed -n 's/.*95th percentile \([0-9]*\) ms.*/\1/p' "$OUT/paint.txt")
latency_limit=$(sed -n 's/.*Latency + 50 = \([0-9]*\) ms.*/\1/p' "$OUT/paint.txt")
read -r alert_min alert_q alert_ratio < <(sed -n \
    's/.*median of the rest: minimal \([0-9.]*\) ms, alert \([0-9.]*\) ms (\([0-9.]*\)x).*/\1 \2 \3/p' \
    "$OUT/alert.txt")
flash=$(sed -n 's/^flash period (painted colour changes) over .*: mean \([0-9.]*\) ms, min \([0-9.]*\) ms, max \([0-9.]*\) ms/\1 (\2 to \3)/p' \
    "$OUT/alert.txt" | head -n1)
start_q=$(sed -n 's/^  qfd splash: *\([0-9.]*\).*/\1/p' "$OUT/startup.txt")
start_m=$(sed -n 's/^  minimal program: *\([0-9.]*\).*/\1/p' "$OUT/startup.txt")
idle_cpu=$(sed -n 's/^  qfd: *CPU \([0-9.]*\) %.*/\1/p' "$OUT/startup.txt")
idle_rss=$(sed -n 's/^  qfd: .*RSS \([0-9.]*\) MB/\1/p' "$OUT/startup.txt")
min_cpu=$(sed -n 's/^  minimal: *CPU \([0-9.]*\) %.*/\1/p' "$OUT/startup.txt")
min_rss=$(sed -n 's/^  minimal: .*RSS \([0-9.]*\) MB/\1/p' "$OUT/startup.txt")

echo "| Target | Measured | Compared with | Ratio | Limit |"
echo "|---|---|---|---|---|"
row "ReadIni/type_1k" "$(us "$read_ini")" "Floor/read_1k $(us "$read_floor")" "$(ratio "$read_ini" "$read_floor")" "≤ 1.5×"
row "WriteIni/one_key_1k" "$(us "$write_ini")" "Floor/rewrite_1k $(us "$write_floor")" "$(ratio "$write_ini" "$write_floor")" "≤ 1.3×"
row "ReadIni/slots_501" "$(us "$slots")" "—" "—" "reported"
row "Send To All, 501 folders" "$(ms "$send")" "501 raw rewrites $(ms "$send_floor")" "$(ratio "$send" "$send_floor")" "≤ 1.5×"
row "Send To All, 501 folders, another process sending to them too" "$(ms "$send_busy")" \
    "alone $(ms "$send"); 501 raw rewrites $(ms "$send_floor")" \
    "$(ratio "$send_busy" "$send") / $(ratio "$send_busy" "$send_floor")" "reported"
row "Poll tick's look into a quiet mailbox, lock free" "$(us "$tick")" "—" "—" "reported"
row "Poll tick's look into a quiet mailbox, lock held by another process" "$(us "$tick_held")" \
    "lock free $(us "$tick")" "$(ratio "$tick_held" "$tick")" "µs: no lock wait"
row "RefreshNetworkMenus, 501 entries (Qt)" "$menus ms" "—" "—" "≤ 20 ms"
row "qfdctl send to alert on screen, p95 of 20" "$p95 ms" "poll alone: Latency + 50 = $latency_limit ms" "—" "≤ 30 ms"
row "Alert show to first paint, median" "$alert_q ms" "minimal frameless window $alert_min ms" "$alert_ratio" "≤ 2×"
row "Alert flash period over 20 ticks" "$flash ms" "—" "—" "500 ± 30 ms"
row "Start-up to splash's first paint, median of 15" "$start_q ms" "minimal tray program $start_m ms" "$(ratio "$start_q" "$start_m")" "≤ 1.2×"
row "Idle CPU while polling at 100 ms" "$idle_cpu %" "minimal tray program $min_cpu %" "$(ratio "$idle_cpu" "$min_cpu")" "≤ 1×"
row "Idle resident memory" "$idle_rss MB" "minimal tray program $min_rss MB" "—" "≤ minimal + 1 MB"
