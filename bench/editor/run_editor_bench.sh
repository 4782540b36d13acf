#!/usr/bin/env bash
# Builds the benchmarks in release mode and times a 100 MB Shift-JIS file
# into the main window (load, first paint, soft wrap on and off).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-editor}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON >/dev/null
cmake --build "$build" --target editor_load_bench -j"$(nproc)"
mkdir -p "$root/bench/out"
cd "$root/bench/out"
QT_QPA_PLATFORM=offscreen TABULO_HOME=$(mktemp -d) "$build/bench/editor/editor_load_bench" "$@"
