#!/usr/bin/env bash
# Runs the Shift-JIS decoding benchmark and prints throughput with the ratio
# of glibc iconv's time to the table decoder's time on the same text.
# Usage: run_sjis_codec_bench.sh [build dir] (configured with -DTABULO_BUILD_BENCH=ON)
set -euo pipefail
build=${1:-build}
binary="$build/bench/platform/sjis_codec_bench"
[ -x "$binary" ] || { echo "build $binary first (TABULO_BUILD_BENCH=ON)" >&2; exit 1; }
"$binary" --benchmark_format=json --benchmark_repetitions=5 --benchmark_report_aggregates_only=true |
python3 -c '
import json, sys
runs = {b["run_name"]: b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"}
base = runs["decodeWithTables"]["real_time"]
print("%-20s %10s %8s %10s" % ("benchmark", "median us", "MB/s", "vs tables"))
for name, b in runs.items():
    print("%-20s %10.0f %8.0f %9.2fx" % (name, b["real_time"], b["bytes_per_second"] / 1e6, b["real_time"] / base))
'
