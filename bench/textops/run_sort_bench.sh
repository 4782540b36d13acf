#!/usr/bin/env bash
# Builds the line sort benchmarks in Release mode and runs them: the sort of
# generated files of 1 000 000 Shift-JIS lines (mixed Japanese text, and log
# lines with long shared beginnings) by the textops core and by tabulo-cli sort
# next to LC_ALL=C sort, each in a child process, with wall time, CPU time,
# peak memory and ratios (best of three runs, outputs checked byte for byte).
# The generated inputs and outputs go to bench/out/textops/.
# Usage: run_sort_bench.sh [--in-memory] [textops_sort_peer options]
#   --in-memory also runs the Google Benchmark of both sort paths.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench}
in_memory=no
if [ "${1:-}" = "--in-memory" ]; then in_memory=yes; shift; fi

command -v sort >/dev/null || { echo "run_sort_bench: sort is not installed" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
log="$build/textops_sort_bench_build.log"
cmake --build "$build" --target textops_sort_peer textops_sort_bench --parallel 2 >"$log" 2>&1 ||
  { cat "$log" >&2; exit 1; }

"$build/bench/textops/textops_sort_peer" --dir "$root/bench/out/textops" "$@"
if [ "$in_memory" = yes ]; then
  echo
  "$build/bench/textops/textops_sort_bench"
fi
