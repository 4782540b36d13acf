#!/usr/bin/env bash
# Configures and builds Tabulo into build/ (or $TABULO_BUILD_DIR).
# Extra arguments go to the CMake configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABULO_BUILD_DIR:-$root/build}
launcher=()
# Rebuilds of other checkouts on this machine reuse compiled objects.
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
