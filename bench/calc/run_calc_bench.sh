#!/usr/bin/env bash
# Builds the calculator benchmark in Release mode and runs it: evaluations per
# second of the line calculator and of muparser on the same graph workload,
# with their ratio. Extra arguments go to the benchmark program.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target calc_bench --parallel 2
"$build/bench/calc/calc_bench" "$@"
