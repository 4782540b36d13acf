#!/usr/bin/env bash
# Builds in release mode and times 1,000,000 lines through gawk '{print $2}'
# by the script pipeline and straight from a shell.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-script}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=OFF >/dev/null
cmake --build "$build" --target script_pipeline_bench -j"$(nproc)"
"$build/bench/script/script_pipeline_bench" "$@"
