#!/usr/bin/env bash
# Builds the core libraries, tabulo-cli and their tests with AddressSanitizer
# and UndefinedBehaviorSanitizer (no window layers) in build-sanitize/ (or
# $TABULO_SANITIZE_DIR) and runs those tests. Any finding fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABULO_SANITIZE_DIR:-$root/build-sanitize}
jobs=${TABULO_JOBS:-$(nproc)}

"$root/scripts/setup.sh"
start=$(date +%s)
launcher=()
# Paths below the checkout are hashed relative to it, so other checkouts on
# this machine (work trees, CI's clean clone) reuse the compiled objects.
command -v ccache >/dev/null && launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" -DTABULO_BUILD_GUI=OFF -DTABULO_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$jobs"
built=$(date +%s)

# Leaks count as findings; UB reports stop the program (the build also uses
# -fno-sanitize-recover), so a test cannot pass over one.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build"
ctest --output-on-failure --parallel "$jobs" --timeout 900
echo "sanitize: build $((built - start)) s, tests $(($(date +%s) - built)) s"
