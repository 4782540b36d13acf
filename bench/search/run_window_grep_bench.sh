#!/usr/bin/env bash
# The window's grep command over 2,000 Shift-JIS files (100 MB) against GNU
# grep and ripgrep: builds the benchmark in release mode, makes the corpus
# and the file tree under bench/out/ when they are missing, and prints the
# table and the stop item's answer time. RUNS sets the runs (best counts).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-search}
out=$root/bench/out
corpus=$out/search_corpus_sjis.txt
tree=$out/grep_tree
list=$out/grep_tree.list

command -v rg >/dev/null || { echo "run_window_grep_bench: rg is missing (apt-get install ripgrep)" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON \
  -DTABULO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target window_grep_bench -j2 >/dev/null
mkdir -p "$out"
[ -s "$corpus" ] || python3 "$root/bench/regex/make_corpus.py" "$corpus" $((100 * 1000 * 1000))
[ -s "$list" ] || python3 "$root/bench/search/make_grep_tree.py" "$corpus" "$tree" 2000 "$list"
TABULO_HOME=$(mktemp -d) python3 "$root/bench/search/compare_window_grep.py" \
  "$build/bench/search/window_grep_bench" "$list" "${RUNS:-3}"
