#!/usr/bin/env bash
# tabulo-cli replace over one long line, with patterns whose attempts fail far
# into it (anchored and not, with and without a match at its end), at two
# lengths four times apart, against GNU grep -E counting the same pattern on
# the same line: the time of each, tabulo-cli's ratio to grep and the growth
# of its time from the shorter line to the longer (linear: about 4).
#   bench/search/run_long_line_bench.sh [MB]   (the shorter line, default 10 MB)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${TABULO_CLI:-$root/build/src/cli/tabulo-cli}
out=$root/bench/out
mb=${1:-10}
mkdir -p "$out"

# A line of a, then the tail.
make_line() {
  python3 -c "import sys; sys.stdout.buffer.write(b'a' * ($2 * 1000 * 1000) + sys.argv[3].encode() + b'\n')" - "$2" "$3" > "$1"
}

seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

printf '%-10s %-6s %10s %10s %10s %8s %8s\n' pattern tail "MB" tabulo-s grep-s ratio growth
for tail in "" xb; do
  short=$out/long_line_${mb}_$tail.txt
  long=$out/long_line_$((4 * mb))_$tail.txt
  [ -s "$short" ] || make_line "$short" "$mb" "$tail"
  [ -s "$long" ] || make_line "$long" $((4 * mb)) "$tail"
  for pattern in 'a*b' 'a*b$' '^a*b' '(a|b)*c$' '[a-z]*0$' 'x*y*z'; do
    first=
    for file in "$short" "$long"; do
      size=$(($(stat -c %s "$file") / 1000000))
      t=$(seconds "$cli" replace --regexp "$pattern" X "$file")
      g=$(seconds env LC_ALL=C grep -cE "$pattern" "$file")
      growth=-
      [ -n "$first" ] && growth=$(echo "scale=1; $t / $first" | bc)
      first=$t
      printf '%-10s %-6s %10s %10.2f %10.2f %8.1f %8s\n' "$pattern" "${tail:-none}" "$size" "$t" "$g" \
        "$(echo "scale=2; $t / $g" | bc)" "$growth"
    done
  done
done
