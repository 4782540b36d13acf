#!/usr/bin/env bash
# Builds the printing benchmarks in release mode and runs them: a 100 MB
# Shift-JIS document (about 1,000,000 lines) printed to PDF by tabulo-cli
# print (wall time and peak memory; goal under 60 s and 1 GB), and the
# preview of a 10,000-line document from Ctrl+P (goal: shown within 1 s).
# The generated input and the PDF go to bench/out/print/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-print}
out=$root/bench/out/print
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=ON -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
log="$build/print_bench_build.log"
cmake --build "$build" --target print_bench tabulo-cli --parallel 2 >"$log" 2>&1 || { cat "$log" >&2; exit 1; }

mkdir -p "$out"
[ -s "$out/big.txt" ] || "$build/bench/print/print_bench" generate "$out/big.txt" 100000000
echo "input: $(stat -c %s "$out/big.txt") bytes, $(wc -l <"$out/big.txt") lines"
/usr/bin/time -f "tabulo-cli print: %e s wall, %U s user, %M KB peak memory" \
  "$build/src/cli/tabulo-cli" print --pdf "$out/big.pdf" "$out/big.txt"
command -v pdfinfo >/dev/null && pdfinfo "$out/big.pdf" | grep -E '^(Pages|File size)'

QT_QPA_PLATFORM=offscreen TABULO_HOME=$(mktemp -d) "$build/bench/print/print_bench" preview 10000
