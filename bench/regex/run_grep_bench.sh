#!/usr/bin/env bash
# The grep engine against GNU grep and ripgrep: builds the count tool and
# tabulo-cli (without the window layers, as a command-line install has it),
# makes the 200 MB Shift-JIS corpus under bench/out/ when it is missing, and
# prints the table. RUNS sets the runs per program (best counts).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build-bench-regex}
out=$root/bench/out
corpus=$out/regex_corpus_sjis.txt

command -v rg >/dev/null || { echo "run_grep_bench: rg is missing (apt-get install ripgrep)" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF \
  -DTABULO_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target regex_grep_count tabulo-cli -j2 >/dev/null
mkdir -p "$out"
[ -s "$corpus" ] || python3 "$root/bench/regex/make_corpus.py" "$corpus" $((200 * 1024 * 1024))
python3 "$root/bench/regex/compare_grep.py" "$build/bench/regex/regex_grep_count" "$build/src/cli/tabulo-cli" \
  "${RUNS:-3}" "$corpus"
