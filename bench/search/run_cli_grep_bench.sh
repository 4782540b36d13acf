#!/usr/bin/env bash
# tabulo-cli grep over 2,000 Shift-JIS files (200 MB) against GNU grep -rn:
# makes the corpus and the tree under bench/out/ when they are missing and
# times both with hyperfine (RUNS runs, 3 by default). The listing of the
# threads is checked against the one-file-at-a-time listing first.
#   bench/search/run_cli_grep_bench.sh [PATTERN]   (default 検索)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${TABULO_CLI:-$root/build/src/cli/tabulo-cli}
out=$root/bench/out
corpus=$out/cli_grep_corpus_sjis.txt
tree=$out/cli_grep_tree
list=$out/cli_grep_tree.list
pattern=$(printf '%s' "${1:-検索}" | iconv -f UTF-8 -t CP932)

command -v hyperfine >/dev/null || { echo "run_cli_grep_bench: hyperfine is missing (apt-get install hyperfine)" >&2; exit 1; }
mkdir -p "$out"
[ -s "$corpus" ] || python3 "$root/bench/regex/make_corpus.py" "$corpus" $((200 * 1000 * 1000))
[ -s "$list" ] || python3 "$root/bench/search/make_grep_tree.py" "$corpus" "$tree" 2000 "$list"
mapfile -t files < "$list"
"$cli" grep "$pattern" "${files[@]}" > "$out/cli_grep_threads.out" || true
for f in "${files[@]}"; do "$cli" grep "$pattern" "$f" || true; done > "$out/cli_grep_one_by_one.out"
cmp "$out/cli_grep_threads.out" "$out/cli_grep_one_by_one.out" && echo "listing: identical to one file at a time"
# The pattern is read from a file (hyperfine takes UTF-8 commands only) and
# the output goes to a file: GNU grep stops at the first match when its
# output is /dev/null.
printf '%s' "$pattern" > "$out/cli_grep_pattern"
p="\"\$(cat '$out/cli_grep_pattern')\""
hyperfine --runs "${RUNS:-3}" --warmup 1 \
  -n "tabulo-cli grep (files given)" "'$cli' grep $p $(printf "'%s' " "${files[@]}") > '$out/cli_grep_bench.out'" \
  -n "tabulo-cli grep -r" "'$cli' grep -r $p '$tree' > '$out/cli_grep_bench.out'" \
  -n "GNU grep -rn" "LC_ALL=C grep -rn $p '$tree' > '$out/cli_grep_bench.out'"
