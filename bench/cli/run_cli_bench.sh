#!/usr/bin/env bash
# Whole tabulo-cli processes against peer tools on the same files, in one run:
# conv between Shift-JIS and EUC beside nkf and iconv, conv to and from UTF-8
# beside iconv (and one 2 GB line without a break, which conv streams),
# guess beside
# nkf --guess, conv --to base64 beside coreutils base64, and the memory of
# calc on one 30 MB line and of uniq on 50,000,000 empty lines. Times are
# CPU seconds (perf's task clock, best of three, output to /dev/null), which
# stay comparable on a busy machine; memory is the peak resident set reported
# by /usr/bin/time. Ratio = peer time / our time: above 1 means we are faster.
# Inputs are generated into bench/out/cli/ (not committed) from the postal
# address file in the shared data folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${TABULO_BENCH_BUILD_DIR:-$root/build-bench}
out="$root/bench/out/cli"
data=${TABULO_DATA_DIR:-$root/../../shared/data}/KEN_ALL.CSV
[ -r "$data" ] || data=/work/shared/data/KEN_ALL.CSV

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTABULO_BUILD_GUI=OFF -DTABULO_BUILD_TESTS=OFF -DTABULO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target tabulo-cli --parallel 2 >/dev/null
cli="$build/src/cli/tabulo-cli"

for peer in nkf iconv base64 uniq perf /usr/bin/time; do
  command -v "$peer" >/dev/null || { echo "run_cli_bench: $peer is not installed" >&2; exit 1; }
done

mkdir -p "$out"
if [ ! -s "$out/text.sjis" ]; then
  # About 50 MB of Japanese text: the address file four times.
  for _ in 1 2 3 4; do cat "$data"; done > "$out/text.sjis"
  iconv -c -f CP932 -t EUC-JP "$out/text.sjis" > "$out/text.euc" || true
  iconv -f CP932 -t UTF-8 "$out/text.sjis" > "$out/text.utf8"
  python3 -c "import sys; sys.stdout.write('1+' * 15000000 + '1\n')" > "$out/calc.txt"
  head -c 50000000 /dev/zero | tr '\0' '\n' > "$out/empty.txt"
fi

# CPU seconds of the best of three runs of a command (perf's task clock, to
# the millisecond), and its peak resident set in kilobytes (/usr/bin/time).
cpuSeconds() {
  local best="" t
  for _ in 1 2 3; do
    perf stat -x, -e task-clock -o "$out/perf.txt" -- $1 >/dev/null 2>&1 || true
    t=$(awk -F, '/task-clock/ { printf "%.4f", $1 / 1000 }' "$out/perf.txt")
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}
peakKilobytes() {
  /usr/bin/time -f "%M" -o "$out/time.txt" $1 >/dev/null 2>&1 || true
  tail -1 "$out/time.txt"
}

megabytes() { awk -v k="$(peakKilobytes "$1")" 'BEGIN { printf "%.1f", k / 1024 }'; }

printf '%-44s %9s %9s %8s %10s %10s\n' "case" "ours s" "peer s" "ratio" "ours MB" "peer MB"
compare() {  # name, our command, peer command (may be empty), goal
  local ours peerTime="-" ratio="-" peerMegabytes="-"
  ours=$(cpuSeconds "$2")
  if [ -n "$3" ]; then
    peerTime=$(cpuSeconds "$3")
    ratio=$(awk -v p="$peerTime" -v o="$ours" 'BEGIN { printf "%.2f", p / (o > 0.001 ? o : 0.001) }')
    peerMegabytes=$(megabytes "$3")
  fi
  printf '%-44s %9s %9s %8s %10s %10s   goal: %s\n' "$1" "$ours" "$peerTime" "$ratio" "$(megabytes "$2")" \
    "$peerMegabytes" "$4"
}

size=$(du -m "$out/text.sjis" | cut -f1)
echo "inputs: $size MB of Shift-JIS text (and its EUC and UTF-8 forms), a 2 GB line, a 30 MB calc line,"
echo "50,000,000 empty lines"
compare "conv --from sjis --to euc vs nkf -S -e" "$cli conv --from sjis --to euc $out/text.sjis" "nkf -S -e $out/text.sjis" ">= 3x nkf"
compare "conv --from sjis --to euc vs iconv" "$cli conv --from sjis --to euc $out/text.sjis" "iconv -c -f CP932 -t EUC-JP $out/text.sjis" ">= 1x iconv"
compare "conv --from euc --to sjis vs nkf -E -s" "$cli conv --from euc --to sjis $out/text.euc" "nkf -E -s $out/text.euc" ">= 3x nkf"
compare "conv --from euc --to sjis vs iconv" "$cli conv --from euc --to sjis $out/text.euc" "iconv -c -f EUC-JP -t CP932 $out/text.euc" ">= 1x iconv"
compare "conv --to utf-8 vs iconv" "$cli conv --to utf-8 $out/text.sjis" "iconv -f CP932 -t UTF-8 $out/text.sjis" ">= 3x iconv, < 64 MB"
compare "conv --from utf-8 --to sjis vs iconv" "$cli conv --from utf-8 --to sjis $out/text.utf8" "iconv -f UTF-8 -t CP932 $out/text.utf8" ">= 3x iconv, < 64 MB"
compare "conv --to euc (detecting) vs nkf -e" "$cli conv --to euc $out/text.sjis" "nkf -e $out/text.sjis" ">= 3x nkf"
compare "guess vs nkf --guess" "$cli guess $out/text.sjis" "nkf --guess $out/text.sjis" ">= 10x"
compare "conv --to base64 vs base64" "$cli conv --to base64 $out/text.sjis" "base64 $out/text.sjis" ">= 1x"
# One line of 2 GB without a break, made as it is read.
endless="$out/endless.sh"
printf '#!/bin/sh\nhead -c 2000000000 /dev/zero | tr "\\\\0" a | "$@"\n' > "$endless"
chmod +x "$endless"
compare "conv --to utf-8 of one 2 GB line vs iconv" "$endless $cli conv --to utf-8" "$endless iconv -f CP932 -t UTF-8" "< 64 MB"
compare "calc of one 30 MB line" "$cli calc $out/calc.txt" "" "< 300 MB"
compare "uniq of 50,000,000 empty lines vs uniq" "$cli uniq $out/empty.txt" "uniq $out/empty.txt" "< 100 MB"
