#!/usr/bin/env bash
# Times the kanji code converters and the Base64 coder against nkf, glibc
# iconv and coreutils base64 on the same 50 MB inputs, in one run, and prints
# a table with throughput and ratios (peer time / our time: above 1 means we
# are faster). Each figure is the best of three runs, output to /dev/null.
# UTF-8 -> Shift-JIS and back run beside iconv's CP932 and are timed in CPU
# seconds (user + system), which stay meaningful on a loaded machine, with
# the peak resident size of both (/usr/bin/time).
# The inputs are generated into bench/out/kanji/ (not committed).
# Usage: run_kanji_bench.sh [--in-memory | --utf8]
#   --in-memory also runs kanji_bench; --utf8 runs only the UTF-8 table.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench}
out="$root/bench/out/kanji"
megabytes=50

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target kanji_convert_file kanji_bench --parallel 2 >/dev/null
tool="$build/bench/kanji/kanji_convert_file"

for peer in nkf iconv base64 /usr/bin/time; do
  command -v "$peer" >/dev/null || { echo "run_kanji_bench: $peer is not installed" >&2; exit 1; }
done

mkdir -p "$out"
[ -s "$out/text.sjis" ] || "$tool" generate "$megabytes" > "$out/text.sjis"
[ -s "$out/text.utf8" ] || iconv -f CP932 -t UTF-8 "$out/text.sjis" > "$out/text.utf8"
if [ ! -s "$out/data.b64" ]; then
  iconv -f SHIFT_JIS -t EUC-JP "$out/text.sjis" > "$out/text.euc"
  iconv -f SHIFT_JIS -t ISO-2022-JP "$out/text.sjis" > "$out/text.jis"
  head -c "$((megabytes << 20))" /dev/urandom > "$out/data.bin"
  base64 -w0 "$out/data.bin" > "$out/data.b64"
fi

# Best wall time (or with BENCH_CPU=1 CPU time, user + system) of three runs
# of a command line, in seconds.
best() {
  local fastest="" t
  for _ in 1 2 3; do
    if [ "${BENCH_CPU:-0}" = 1 ]; then
      t=$( { TIMEFORMAT='%U %S'; time bash -c "$1" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2 }')
    else
      t=$( { TIMEFORMAT=%R; time bash -c "$1" >/dev/null 2>&1; } 2>&1 )
    fi
    if [ -z "$fastest" ] || awk -v a="$t" -v b="$fastest" 'BEGIN { exit !(a < b) }'; then fastest=$t; fi
  done
  echo "$fastest"
}

# Peak resident set of a command line, in MB.
peak() {
  /usr/bin/time -f %M -o "$out/time.txt" bash -c "$1" >/dev/null 2>&1 || true
  awk '{ k = $1 } END { printf "%.1f", k / 1024 }' "$out/time.txt"
}

mb() { awk -v bytes="$(stat -c %s "$1")" -v s="$2" 'BEGIN { printf "%.0f", bytes / 1048576 / (s > 0 ? s : 0.001) }'; }
ratio() { awk -v peer="$1" -v ours="$2" 'BEGIN { printf "%.2fx", peer / (ours > 0 ? ours : 0.001) }'; }

utf8_table() {
  # Both sides must produce the same bytes, or the race means nothing.
  cmp -s <("$tool" utf82sjis "$out/text.utf8") <(iconv -f UTF-8 -t CP932 "$out/text.utf8") ||
    { echo "run_kanji_bench: our UTF-8 -> Shift-JIS differs from iconv's" >&2; exit 1; }
  printf '%-16s %10s %12s %10s %12s %11s %10s %10s\n' "CPU time" "tabulo s" "tabulo MB/s" "iconv s" "iconv MB/s" \
    "iconv/ours" "tabulo MB" "iconv MB"
  local op from to input ours ic
  for op in utf82sjis sjis2utf8; do
    if [ "$op" = utf82sjis ]; then from=UTF-8 to=CP932 input="$out/text.utf8"; else from=CP932 to=UTF-8 input="$out/text.sjis"; fi
    ours=$(BENCH_CPU=1 best "'$tool' $op '$input'")
    ic=$(BENCH_CPU=1 best "iconv -f $from -t $to '$input'")
    printf '%-16s %10s %12s %10s %12s %11s %10s %10s\n' "$from -> $to" "$ours" "$(mb "$input" "$ours")" "$ic" \
      "$(mb "$input" "$ic")" "$(ratio "$ic" "$ours")" "$(peak "'$tool' $op '$input'")" \
      "$(peak "iconv -f $from -t $to '$input'")"
  done
}
if [ "${1:-}" = "--utf8" ]; then
  utf8_table
  exit 0
fi

printf '%-16s %12s %12s %12s %10s %10s\n' conversion "tabulo MB/s" "nkf MB/s" "iconv MB/s" "nkf/ours" "iconv/ours"
row() {  # name op input nkf-flags iconv-from iconv-to
  local ours nkf ic
  ours=$(best "'$tool' $2 '$3'")
  nkf=$(best "nkf $4 '$3'")
  ic=$(best "iconv -f $5 -t $6 '$3'")
  printf '%-16s %12s %12s %12s %10s %10s\n' "$1" "$(mb "$3" "$ours")" "$(mb "$3" "$nkf")" "$(mb "$3" "$ic")" \
    "$(ratio "$nkf" "$ours")" "$(ratio "$ic" "$ours")"
}
row "sjis -> euc" sjis2euc "$out/text.sjis" "-S -e" SHIFT_JIS EUC-JP
row "euc -> sjis" euc2sjis "$out/text.euc" "-E -s" EUC-JP SHIFT_JIS
row "sjis -> jis" sjis2jis "$out/text.sjis" "-S -j" SHIFT_JIS ISO-2022-JP
row "jis -> sjis" jis2sjis "$out/text.jis" "-J -s" ISO-2022-JP SHIFT_JIS
row "euc -> jis" euc2jis "$out/text.euc" "-E -j" EUC-JP ISO-2022-JP
row "jis -> euc" jis2euc "$out/text.jis" "-J -e" ISO-2022-JP EUC-JP
ours=$(best "'$tool' lines-jis '$out/text.sjis'")
printf '%-16s %12s   (the code conversion command over every line, as tabulo-cli conv)\n' \
  "lines -> jis" "$(mb "$out/text.sjis" "$ours")"

echo
utf8_table

echo
printf '%-16s %12s %12s %10s\n' base64 "tabulo MB/s" "base64 MB/s" "base64/ours"
ours=$(best "'$tool' base64 '$out/data.bin'")
theirs=$(best "base64 -w0 '$out/data.bin'")
printf '%-16s %12s %12s %10s\n' encode "$(mb "$out/data.bin" "$ours")" "$(mb "$out/data.bin" "$theirs")" "$(ratio "$theirs" "$ours")"
ours=$(best "'$tool' base64-decode '$out/data.b64'")
theirs=$(best "base64 -d '$out/data.b64'")
printf '%-16s %12s %12s %10s\n' decode "$(mb "$out/data.b64" "$ours")" "$(mb "$out/data.b64" "$theirs")" "$(ratio "$theirs" "$ours")"

if [ "${1:-}" = "--in-memory" ]; then
  echo
  "$build/bench/kanji/kanji_bench"
fi
