#!/usr/bin/env bash
# Builds the postal conversion benchmark in Release mode and runs it against
# the nationwide address file: one warm F11 conversion of a code and of an
# address. Goals: under 20 ms for a code, under 50 ms for an address.
# Usage: run_postal_bench.sh [KEN_ALL.CSV] (default: ../shared/data/KEN_ALL.CSV
# beside the project or one level above it)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench}
file=${1:-}
if [ -z "$file" ]; then
  for candidate in "$root/../shared/data/KEN_ALL.CSV" "$root/../../shared/data/KEN_ALL.CSV"; do
    if [ -f "$candidate" ]; then file=$candidate; break; fi
  done
fi
[ -f "$file" ] || { echo "run_postal_bench: KEN_ALL.CSV not found; give its path" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
log="$build/search_postal_bench_build.log"
cmake --build "$build" --target search_postal_bench --parallel 2 >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
"$build/bench/search/search_postal_bench" "$file"
