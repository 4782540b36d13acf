#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build-fuzz/ (or $TABULO_FUZZ_DIR) and runs
# each target, one after the other, for a fixed time, starting from its
# committed seed corpus. New inputs go to build-fuzz/corpus/<target>/, a
# failing input to build-fuzz/artifacts/. Prints executions per target.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 30 s, every target)
# CI runs the short budget with a fixed seed (TABULO_FUZZ_SEED), so its run
# is repeatable; a long run (600 s each) is done by hand with a random seed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABULO_FUZZ_DIR:-$root/build-fuzz}
jobs=${TABULO_JOBS:-$(nproc)}
budget=${1:-30}
[ $# -gt 0 ] && shift
targets=("$@")
((${#targets[@]})) || targets=(calc regex kanji_code mail_decode editor_load graph_spec header_template postal namazu_result
  keyword_file settings_file)

"$root/scripts/setup.sh"
start=$(date +%s)
cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --parallel "$jobs" --target "${targets[@]/#/fuzz_}"
echo "fuzz: build $(($(date +%s) - start)) s"

mkdir -p "$build/artifacts" "$build/logs"
status=0
printf '%-16s %10s %14s %8s\n' target exec/s executions result
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log="$build/logs/$t.log"
  # -timeout: one input running this long is a hang; -rss_limit_mb: a blow-up.
  if "$build/fuzz_$t" -max_total_time="$budget" -timeout=25 -rss_limit_mb=2048 -max_len=4096 \
      ${TABULO_FUZZ_SEED:+-seed="$TABULO_FUZZ_SEED"} \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
      "$build/corpus/$t" "$root/fuzz/$t/corpus" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  printf '%-16s %10s %14s %8s\n' "$t" "${rate:-?}" "${execs:-?}" "$result"
  if [ "$result" = FAILED ]; then
    tail -60 "$log"
  fi
done
echo "fuzz: total $(($(date +%s) - start)) s"
exit $status
