#!/usr/bin/env bash
# The grep over files of any encoding: 2,000 files (a quarter each in
# Shift-JIS, EUC-JP, JIS and UTF-8, from the 100 MB Shift-JIS corpus) made
# under /tmp, searched in one pass by tabulo-cli grep --any-encoding beside
# the four ripgrep passes, one per encoding, that the same folder needs.
# RUNS sets the runs (best counts); the folder is removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench-search}
out=$root/bench/out
corpus=$out/search_corpus_sjis.txt
tree=$(mktemp -d /tmp/tabulo_mixed_tree.XXXXXX)
trap 'rm -rf "$tree"' EXIT

command -v rg >/dev/null || { echo "run_mixed_grep_bench: rg is missing (apt-get install ripgrep)" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON \
  -DTABULO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target tabulo-cli -j2 >/dev/null
mkdir -p "$out"
[ -s "$corpus" ] || python3 "$root/bench/regex/make_corpus.py" "$corpus" $((100 * 1000 * 1000))
python3 "$root/bench/search/make_mixed_tree.py" "$corpus" "$tree/files" 2000 "$tree/list" $((100 * 1000 * 1000))
python3 "$root/bench/search/compare_mixed_grep.py" "$build/src/cli/tabulo-cli" "$tree/files" "$tree/list" \
  "${WORD:-文字列}" "${RUNS:-3}"
