#!/usr/bin/env bash
# Builds the benchmarks in release mode and opens a 100 MB and a 1 GB
# Shift-JIS file in the main window: load, first paint, Ctrl+End, soft wrap
# on and off, and the peak resident size against the file's size.
# Arguments go to every run (a FILE replaces the generated ones).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-editor}
launcher=()
command -v ccache >/dev/null && launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON \
  "${launcher[@]}" >/dev/null
cmake --build "$build" --target editor_load_bench -j"$(nproc)"
mkdir -p "$root/bench/out"
cd "$root/bench/out"
# Each size in a process of its own, so that each peak is its own.
for mb in 100 1024; do
  QT_QPA_PLATFORM=offscreen TABULO_HOME=$(mktemp -d) "$build/bench/editor/editor_load_bench" --mb "$mb" "$@"
  echo
done
