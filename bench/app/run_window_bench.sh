#!/usr/bin/env bash
# Builds in release mode and times the window's sort command on 1,000,000 lines.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-window}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON >/dev/null
cmake --build "$build" --target window_sort_bench -j"$(nproc)"
QT_QPA_PLATFORM=offscreen TABULO_HOME=$(mktemp -d) "$build/bench/app/window_sort_bench" "$@"
