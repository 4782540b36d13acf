#!/usr/bin/env bash
# Times UTF-8 -> Shift-JIS (and back) through the program's CP932 table
# against glibc iconv's CP932 on the same 50 MB input, in one run. Figures are
# CPU seconds (user + system, best of three, output to /dev/null), so that
# they stay meaningful on a loaded machine; the ratio is iconv time / our
# time (above 1 means we are faster). Inputs go to bench/out/kanji/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench}
out="$root/bench/out/kanji"
megabytes=50

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target kanji_convert_file --parallel 2 >/dev/null
tool="$build/bench/kanji/kanji_convert_file"
command -v iconv >/dev/null || { echo "run_utf8_bench: iconv is not installed" >&2; exit 1; }

mkdir -p "$out"
[ -s "$out/text.sjis" ] || "$tool" generate "$megabytes" > "$out/text.sjis"
[ -s "$out/text.utf8" ] || iconv -f CP932 -t UTF-8 "$out/text.sjis" > "$out/text.utf8"
# Both sides must produce the same bytes, or the race means nothing.
cmp -s <("$tool" utf82sjis "$out/text.utf8") <(iconv -f UTF-8 -t CP932 "$out/text.utf8") ||
  { echo "run_utf8_bench: our UTF-8 -> Shift-JIS differs from iconv's" >&2; exit 1; }

# Best CPU time (user + system) of three runs of a command line, in seconds.
best() {
  local fastest="" t
  for _ in 1 2 3; do
    t=$( { TIMEFORMAT='%U %S'; time bash -c "$1" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2 }')
    if [ -z "$fastest" ] || awk -v a="$t" -v b="$fastest" 'BEGIN { exit !(a < b) }'; then fastest=$t; fi
  done
  echo "$fastest"
}
mb() { awk -v bytes="$(stat -c %s "$1")" -v s="$2" 'BEGIN { printf "%.0f", bytes / 1048576 / (s > 0 ? s : 0.001) }'; }
ratio() { awk -v peer="$1" -v ours="$2" 'BEGIN { printf "%.2fx", peer / (ours > 0 ? ours : 0.001) }'; }

printf '%-16s %10s %12s %10s %12s %11s\n' conversion "tabulo s" "tabulo MB/s" "iconv s" "iconv MB/s" "iconv/ours"
row() {  # name op input iconv-from iconv-to
  local ours ic
  ours=$(best "'$tool' $2 '$3'")
  ic=$(best "iconv -f $4 -t $5 '$3'")
  printf '%-16s %10s %12s %10s %12s %11s\n' "$1" "$ours" "$(mb "$3" "$ours")" "$ic" "$(mb "$3" "$ic")" "$(ratio "$ic" "$ours")"
}
row "utf-8 -> sjis" utf82sjis "$out/text.utf8" UTF-8 CP932
row "sjis -> utf-8" sjis2utf8 "$out/text.sjis" CP932 UTF-8
