#!/usr/bin/env bash
# Sets everything up, builds, and starts Tabulo with the given arguments.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found; starting Tabulo on a virtual X display (xvfb-run)" >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/src/app/tabulo" "$@"
fi
exec "$root/build/src/app/tabulo" "$@"
