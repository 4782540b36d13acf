#!/usr/bin/env bash
# Takes a screenshot of Tabulo on a virtual X display.
# Usage: scripts/screenshot.sh OUT.png [tabulo arguments...]
# The virtual display keeps its screen in a file (XWD format), which netpbm
# turns into a PNG; no X client is needed to grab it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
shift
home=$(mktemp -d)
screen=$(mktemp -d)
TABULO_HOME=$home xvfb-run -a -s "-screen 0 760x560x24 -fbdir $screen" bash -c '
  "$0" "$@" &
  pid=$!
  sleep 3
  cp "'"$screen"'/Xvfb_screen0" "'"$screen"'/shot.xwd"
  kill $pid
' "${TABULO_BUILD_DIR:-$root/build}/src/app/tabulo" "$@"
# Only the window: the bare screen around it is black.
xwdtopnm "$screen/shot.xwd" 2>/dev/null | pnmcrop -black -right -bottom 2>/dev/null | pnmtopng >"$out"
rm -rf "$home" "$screen"
