#!/usr/bin/env bash
# Takes a screenshot of Tabulo on a virtual X display.
# Usage: scripts/screenshot.sh OUT.png [tabulo arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
shift
home=$(mktemp -d)
TABULO_HOME=$home xvfb-run -a -s "-screen 0 760x560x24" bash -c '
  "$0" "$@" &
  pid=$!
  sleep 3
  import -window root "'"$out"'"
  kill $pid
' "${TABULO_BUILD_DIR:-$root/build}/src/app/tabulo" "$@"
rm -rf "$home"
