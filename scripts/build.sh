#!/usr/bin/env bash
# Configures and builds Tabulo into build/ (or $TABULO_BUILD_DIR).
# Extra arguments go to the CMake configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABULO_BUILD_DIR:-$root/build}
launcher=()
# Paths below the checkout are hashed relative to it, so other checkouts on
# this machine (work trees, CI's clean clone) reuse the compiled objects.
command -v ccache >/dev/null && launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
