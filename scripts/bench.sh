#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmarks of the whole program, run inside the network lab and printed as
# one table: each figure beside its yardstick measured in the same run, and
# their ratio. Run as root (network namespaces):
#
#   bash scripts/bench.sh [build-dir]
#
# build-dir defaults to build-bench/, configured and built here (RelWithDebInfo,
# like the plain test stage); with TB_BENCH_BUILD=0 an existing build is used
# as it is. Each benchmark runs TB_BENCH_REPETITIONS times (default 3) and the
# median is shown. The lab gets the prefix TB_LAB_PREFIX (default tbbench) and
# is removed at the end; the raw Google Benchmark results stay in
# TB_BENCH_OUT (default <build-dir>/bench-results/). Windows are drawn by Xvfb
# when it is installed, else by Qt's offscreen platform.
set -euo pipefail
# shellcheck source=lab-script.sh
source "$(dirname "${BASH_SOURCE[0]}")/lab-script.sh"
lab_script bench tbbench " (network namespaces)"
build="${1:-$root/build-bench}"
repetitions="${TB_BENCH_REPETITIONS:-3}"
out="${TB_BENCH_OUT:-$build/bench-results}"
TB_DEPS_EXTRA="jq stress-ng ${TB_DEPS_EXTRA:-}" bash "$root/scripts/deps.sh"
if [[ "${TB_BENCH_BUILD:-1}" != 0 ]]; then
  bash "$root/scripts/build.sh" "$build" -DTB_BUILD_BENCH=ON
fi
for program in bench/app/tb_app_bench bench/app/tb_startup_bench; do
  if [[ ! -x "$build/$program" ]]; then
    echo "bench: $build/$program is missing (is libbenchmark-dev installed?)" >&2
    exit 1
  fi
done

trap 'bash "$lab" down' EXIT
bash "$lab" up
mkdir -p "$out"

if command -v xvfb-run >/dev/null; then
  display=(xvfb-run -a -s "-screen 0 1024x768x24")
  platform="xcb (Xvfb)"
else
  display=(env QT_QPA_PLATFORM=offscreen)
  platform="offscreen"
fi

# run NAME PROGRAM [ARGS...]: one benchmark program in the lab's PC namespace.
run() {
  local name="$1" program="$2"
  shift 2
  echo "bench: $name ..." >&2
  bash "$lab" exec "$TB_LAB_PREFIX-pc" "${display[@]}" "$build/$program" "$@" \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/$name.json" --benchmark_out_format=json "$@" >/dev/null
}
run app bench/app/tb_app_bench --benchmark_filter=-UnderLoad|TargetSweep
run startup bench/app/tb_startup_bench
# 300 queries while stress-ng keeps every core busy, once: a short query is
# rare, so its count over many queries is the figure, not a median.
stress-ng --cpu "$(nproc)" --quiet &
stress=$!
repetitions=1 run load bench/app/tb_app_bench --benchmark_filter=UnderLoad
kill "$stress"
wait "$stress" || true
# Behind the lab's router, 500 devices on 10.90.0.0/22, each with its own address.
bash "$lab" routed up
for i in $(seq 0 499); do
  echo "addr add 10.90.$(((10 + i) / 256)).$(((10 + i) % 256))/32 dev eth0"
done | ip -n "$TB_LAB_PREFIX-far" -batch -
run targets bench/app/tb_app_bench --benchmark_filter=TargetSweep

# One aggregate (default the median) of one benchmark's field, from the results of NAME.
median() {
  jq -r --arg b "$2" --arg f "$3" --arg a "${4:-median}" \
    '.benchmarks[] | select(.run_name == $b and .aggregate_name == $a) | .[$f]' \
    "$out/$1.json"
}
# Datagrams dropped by the program's queue and by the kernel, medians.
dropped() {
  echo "$(num "$(median app "$1" queue_dropped)") / $(num "$(median app "$1" kernel_dropped)")"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
num() { awk -v a="$1" -v s="${2:-1}" -v d="${3:-0}" 'BEGIN { printf "%.*f", d, a * s }'; }
row() { printf '| %s | %s | %s | %s | %s |\n' "$1" "$2" "$3" "$4" "${5:--}"; }

echo
echo "Tarnwick Brelvan benchmarks, $(date -u +%Y-%m-%d), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), windows on $platform, median of $repetitions"
echo
row "measure" "program" "yardstick" "ratio" "dropped: queue / kernel"
row "---" "---:" "---:" "---:" "---:"

bare=$(median app BM_BareRecvfrom/min_time:3.000/real_time items_per_second)
endpoint=$(median app BM_EndpointOnly/min_time:3.000/real_time items_per_second)
window=$(median app BM_MainWindowReceive/min_time:3.000/real_time items_per_second)
paints=$(median app BM_MainWindowReceive/min_time:3.000/real_time list_paints_per_s)
row "receive path, datagrams/s into the list (bare recvfrom)" "$(num "$window")" "$(num "$bare")" "$(ratio "$window" "$bare")" \
  "$(dropped BM_MainWindowReceive/min_time:3.000/real_time)"
row "endpoint alone, datagrams/s (bare recvfrom)" "$(num "$endpoint")" "$(num "$bare")" "$(ratio "$endpoint" "$bare")" \
  "$(dropped BM_EndpointOnly/min_time:3.000/real_time)"
row "receive path against the endpoint alone" "$(num "$window")" "$(num "$endpoint")" "$(ratio "$window" "$endpoint")"
row "list repaints per second during the flood" "$(num "$paints")" "-" "-"

for jitter in 0 300; do
  for devices in 100 1000 5000; do
    name="devices:$devices/jitter_ms:$jitter/iterations:3"
    # The worst of the 3 x 3 queries: every one must find every device.
    rows=$(median app "BM_DiscoveryMainWindow/$name" fewest min)
    endpoint=$(median app "BM_DiscoveryEndpoint/$name" fewest min)
    heard=$(median app "BM_DiscoveryBare/$name" rows)
    when=$([[ $jitter == 0 ]] && echo "all at once" || echo "spread over 300 ms")
    row "discovery, $devices devices answering $when: rows in the 500 ms window, worst query / endpoint alone (bare socket)" \
      "$(num "$rows") / $(num "$endpoint")" "$(num "$heard")" "$(ratio "$rows" "$heard")" \
      "$(dropped "BM_DiscoveryMainWindow/$name") per query"
  done
done

loaded="BM_DiscoveryMainWindowUnderLoad/devices:1000/jitter_ms:0/iterations:300"
# The single run's own figure (no aggregates with one repetition).
single() {
  jq -r --arg b "$2" --arg f "$3" 'first(.benchmarks[] | select(.run_name == $b) | .[$f])' \
    "$out/$1.json"
}
row "discovery under load (stress-ng on every core), 1000 devices answering all at once: queries with fewer rows than devices (empty ones) of 300" \
  "$(num "$(single load "$loaded" short_queries)") ($(num "$(single load "$loaded" empty_queries)"))" \
  "0" "-" "$(num "$(single load "$loaded" queue_dropped)") / $(num "$(single load "$loaded" kernel_dropped)")"

first=""
for devices in 100 1000 5000 20000; do
  ms=$(median app "BM_AddDeviceShownList/devices:$devices" real_time)
  model=$(median app "BM_AddRowModelOnly/devices:$devices" real_time)
  # Time over n log2 n, relative to the smallest list: 1 means exactly n log n.
  growth=$(awk -v t="$ms" -v n="$devices" 'BEGIN { printf "%.6g", t / (n * log(n) / log(2)) }')
  first="${first:-$growth}"
  row "AddDevice into a shown list of $devices, us per add (model alone)" \
    "$(num "$ms" "$(awk -v n="$devices" 'BEGIN { print 1000 / n }')" 2)" \
    "$(num "$model" "$(awk -v n="$devices" 'BEGIN { print 1000 / n }')" 2)" \
    "n log n x $(ratio "$growth" "$first")"
done
# The complexity that Google Benchmark fits over the four sizes, with its error.
fit() {
  jq -r --arg b "$1" '[.benchmarks[] | select(.run_name == $b)] |
    "\((.[] | select(.aggregate_name == "BigO") | .big_o)) (RMS \((.[] | select(.aggregate_name == "RMS") | .rms * 100 | floor))%)"' \
    "$out/app.json"
}
row "AddDevice, fitted complexity over 100 to 20000 devices, shown list (model alone)" \
  "$(fit BM_AddDeviceShownList)" "$(fit BM_AddRowModelOnly)" "-"

# The worst of the three queries: every device behind the router must be a row.
rows=$(median targets BM_TargetSweepMainWindow/iterations:3 fewest min)
row "query with a /22 target behind a router, 500 devices there: rows in the 500 ms window, worst query" \
  "$(num "$rows")" "500" "$(ratio "$rows" 500)"
sweep=$(median targets BM_TargetSweepEndpoint/iterations:20/real_time items_per_second)
bare=$(median targets BM_TargetSweepBare/iterations:20/real_time items_per_second)
row "the /22 sweep's unicast HELLO(), datagrams/s (bare sendto loop)" "$(num "$sweep")" \
  "$(num "$bare")" "$(ratio "$sweep" "$bare")"

main=$(median startup BM_StartupMainWindow/iterations:10/manual_time real_time)
minimal=$(median startup BM_StartupMinimalWidgets/iterations:10/manual_time real_time)
row "start-up to the first paint of the main window, ms (minimal Qt Widgets program)" \
  "$(num "$main" 1 1)" "$(num "$minimal" 1 1)" "$(ratio "$main" "$minimal")"
main=$(median startup BM_StartupMainWindow/iterations:10/manual_time peak_rss_mb)
minimal=$(median startup BM_StartupMinimalWidgets/iterations:10/manual_time peak_rss_mb)
row "peak resident memory, MB (minimal Qt Widgets program)" \
  "$(num "$main" 1 1)" "$(num "$minimal" 1 1)" "$(ratio "$main" "$minimal")"
echo
echo "raw results: $out/"
