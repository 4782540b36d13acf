#!/usr/bin/env bash
# Every speed and memory figure that has a peer tool, beside that peer, in
# one run: grep over a 200 MB Shift-JIS corpus (a literal, a class with an
# alternation) and over the same corpus cut into 2,000 files, Shift-JIS to
# UTF-8 and to EUC on 50 MB, a 100 MB document held in the window, and the
# sort of 1,000,000 lines. Whole processes, output to a file; each figure is
# the median of RUNS runs (5 by default): wall seconds, CPU seconds (user +
# system) and peak resident MiB (/usr/bin/time -f %M). Ratio = the
# peer's median wall time / ours (above 1: ours is faster); for the
# document, its peak resident size / the file's size.
# The inputs come from the generators the other benchmarks use and go to
# bench/out/ (not committed); scripts/setup.sh installs the peers.
#   bench/run_peer_table.sh [--no-window]   (--no-window skips the document row)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench}
guiBuild=${TABULO_BENCH_GUI_BUILD_DIR:-$root/build-bench-editor}
out=$root/bench/out
work=$out/peer_table
runs=${RUNS:-5}
window=yes
[ "${1:-}" = "--no-window" ] && window=no

for peer in grep rg nkf iconv sort /usr/bin/time python3; do
  command -v "$peer" >/dev/null || { echo "run_peer_table: $peer is not installed (scripts/setup.sh)" >&2; exit 1; }
done

echo "building (release) ..." >&2
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target tabulo-cli kanji_convert_file textops_sort_peer --parallel 2 >/dev/null
cli=$build/src/cli/tabulo-cli
if [ "$window" = yes ]; then
  cmake -S "$root" -B "$guiBuild" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON >/dev/null
  cmake --build "$guiBuild" --target editor_load_bench --parallel 2 >/dev/null
fi

echo "making the inputs (once) ..." >&2
mkdir -p "$work"
corpus=$out/cli_grep_corpus_sjis.txt
tree=$out/cli_grep_tree
list=$out/cli_grep_tree.list
text=$out/kanji/text.sjis
lines=$out/textops/sort_lines.sjis
logLines=$out/textops/sort_log_lines.sjis
document=$out/editor_load_bench_100mb.txt
[ -s "$corpus" ] || python3 "$root/bench/regex/make_corpus.py" "$corpus" $((200 * 1000 * 1000))
[ -s "$list" ] || python3 "$root/bench/search/make_grep_tree.py" "$corpus" "$tree" 2000 "$list"
mkdir -p "$out/kanji" "$out/textops"
[ -s "$text" ] || "$build/bench/kanji/kanji_convert_file" generate 50 > "$text"
[ -s "$lines" ] || "$build/bench/textops/textops_sort_peer" --write-lines "$lines" 1000000
[ -s "$logLines" ] || "$build/bench/textops/textops_sort_peer" --write-log-lines "$logLines" 1000000
if [ "$window" = yes ] && [ ! -s "$document" ]; then
  (cd "$out" && QT_QPA_PLATFORM=offscreen TABULO_HOME=$(mktemp -d) "$guiBuild/bench/editor/editor_load_bench" >/dev/null)
fi

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
literal=$(sjis 検索)
class=$(sjis '[あ-お]ん|漢字')
# The class for GNU grep reading bytes: its nine characters spelled out.
spelled=$(sjis '(あ|ぃ|い|ぅ|う|ぇ|え|ぉ|お)ん|漢字')
# ripgrep's byte mode takes the bytes as escapes.
rgBytes='(?-u:\x8c\x9f\x8d\xf5)'

# median RUN... : the median of the numbers given.
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure NAME COMMAND: runs COMMAND (a shell command line, its standard
# output to a file) RUNS times; sets wall, cpu and peak (MB) to the medians,
# or wall=failed when it ended with a status above 1.
measure() {
  local walls=() cpus=() peaks=() i line status
  for ((i = 0; i < runs; i++)); do
    status=0
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" sh -c "exec $2" >"$work/out.txt" 2>"$work/err.txt" ||
      status=$?
    if [ "$status" -gt 1 ]; then
      wall=failed cpu=- peak=-
      echo "run_peer_table: $1 failed (status $status): $(head -c 300 "$work/err.txt")" >&2
      return
    fi
    line=$(tail -1 "$work/time.txt")
    walls+=("$(echo "$line" | awk '{ print $1 }')")
    cpus+=("$(echo "$line" | awk '{ printf "%.2f", $2 + $3 }')")
    peaks+=("$(echo "$line" | awk '{ printf "%.1f", $4 / 1024 }')")
  done
  wall=$(median "${walls[@]}")
  cpu=$(median "${cpus[@]}")
  peak=$(median "${peaks[@]}")
}

row() {  # WORK, PEER NAME, PEER COMMAND, OUR NAME, OUR COMMAND
  local peerWall peerCpu peerPeak ratio
  measure "$2" "$3"
  peerWall=$wall peerCpu=$cpu peerPeak=$peak
  measure "$4" "$5"
  ratio=-
  if [ "$wall" != failed ] && [ "$peerWall" != failed ]; then
    ratio=$(awk -v p="$peerWall" -v o="$wall" 'BEGIN { printf "%.2fx", p / (o > 0.005 ? o : 0.005) }')
  fi
  printf '| %s | %s | %s s, %s cpu, %s MiB | %s | %s s, %s cpu, %s MiB | %s |\n' \
    "$1" "$2" "$peerWall" "$peerCpu" "$peerPeak" "$4" "$wall" "$cpu" "$peak" "$ratio"
}

mapfile -t files < "$list"
fileArgs=$(printf "'%s' " "${files[@]}")
mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.0f", b / 1e6 }'; }

echo "machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo)," \
  "$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1); load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "medians of $runs runs, whole processes, output to a file; ratio = peer wall / ours"
echo
echo "| work | peer | peer figures | Tabulo | Tabulo figures | ratio |"
echo "|---|---|---|---|---|---|"
c="$(mb "$corpus") MB Shift-JIS"
row "literal 検索, $c" "GNU grep -n" "env LC_ALL=C grep -n '$literal' '$corpus'" \
  "tabulo-cli grep" "'$cli' grep '$literal' '$corpus'"
row "literal 検索, $c" "rg -n -E shift_jis" "rg -n -E shift_jis 検索 '$corpus'" \
  "tabulo-cli grep" "'$cli' grep '$literal' '$corpus'"
row "literal 検索, $c" "rg -c (bytes)" "rg -c '$rgBytes' '$corpus'" \
  "tabulo-cli grep -c" "'$cli' grep -c '$literal' '$corpus'"
row "class [あ-お]ん\\|漢字, $c" "GNU grep -E -n (set spelled out)" "env LC_ALL=C grep -E -n '$spelled' '$corpus'" \
  "tabulo-cli grep" "'$cli' grep '$class' '$corpus'"
row "literal 検索, ${#files[@]} files" "GNU grep -rn" "env LC_ALL=C grep -rn '$literal' '$tree'" \
  "tabulo-cli grep (files given)" "'$cli' grep '$literal' $fileArgs"
row "literal 検索, ${#files[@]} files" "GNU grep -rn" "env LC_ALL=C grep -rn '$literal' '$tree'" \
  "tabulo-cli grep -r" "'$cli' grep -r '$literal' '$tree'"
t="$(mb "$text") MB"
row "Shift-JIS → UTF-8, $t" "iconv -f CP932 -t UTF-8" "iconv -f CP932 -t UTF-8 '$text'" \
  "tabulo-cli conv --to utf-8" "'$cli' conv --from sjis --to utf-8 '$text'"
row "Shift-JIS → EUC, $t" "nkf -S -e" "nkf -S -e '$text'" \
  "tabulo-cli conv --to euc" "'$cli' conv --from sjis --to euc '$text'"
row "Shift-JIS → EUC, $t" "iconv -c -f CP932 -t EUC-JP" "iconv -c -f CP932 -t EUC-JP '$text'" \
  "tabulo-cli conv --to euc" "'$cli' conv --from sjis --to euc '$text'"
row "sort 1,000,000 lines ($(mb "$lines") MB, mixed text)" "LC_ALL=C sort" "env LC_ALL=C sort '$lines'" \
  "tabulo-cli sort" "'$cli' sort '$lines'"
row "sort 1,000,000 lines ($(mb "$logLines") MB, log lines)" "LC_ALL=C sort" "env LC_ALL=C sort '$logLines'" \
  "tabulo-cli sort" "'$cli' sort '$logLines'"
if [ "$window" = yes ]; then
  measure "the window" "env QT_QPA_PLATFORM=offscreen TABULO_HOME='$work' '$guiBuild/bench/editor/editor_load_bench' '$document'"
  size=$(awk -v b="$(stat -c %s "$document")" 'BEGIN { printf "%.1f", b / 1048576 }')
  ratio=-
  [ "$wall" != failed ] && ratio=$(awk -v p="$peak" -v s="$size" 'BEGIN { printf "%.2fx the file", p / s }')
  printf '| a %s MiB document held in the window | the file'"'"'s size | %s MiB | editor_load_bench (load, paint, wrap on and off) | %s s, %s cpu, %s MiB peak | %s |\n' \
    "$size" "$size" "$wall" "$cpu" "$peak" "$ratio"
fi
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
