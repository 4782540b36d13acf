#!/usr/bin/env bash
# Builds in release mode and times replace all and the highlighted scroll on a
# 100 MB document with 1,000,000 hits.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-search}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON >/dev/null
cmake --build "$build" --target replace_all_bench -j"$(nproc)"
QT_QPA_PLATFORM=offscreen TABULO_HOME=$(mktemp -d) "$build/bench/search/replace_all_bench" "$@"
