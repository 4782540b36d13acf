#!/usr/bin/env bash
# Builds the editor benchmarks in release mode and times keystrokes on a
# 1,000,000-line document in the main window (type, undo, Page Down, a scroll
# from top to bottom), each with its repaint.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build-bench-keystroke
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULO_BUILD_BENCH=ON -DTABULO_BUILD_GUI=ON >/dev/null
cmake --build "$build" --target editor_keystroke_bench -j2
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} TABULO_HOME=$(mktemp -d) "$build/bench/editor/editor_keystroke_bench"
