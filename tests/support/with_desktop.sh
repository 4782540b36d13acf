#!/usr/bin/env bash
# Runs a command on a desktop of its own: a private X server (Xvfb) with the
# openbox window manager, so that what only a real desktop shows (stacking,
# focus, the active window, input methods) can be tested. The command sees
# DISPLAY and QT_QPA_PLATFORM=xcb; the server and the window manager end with
# it. Exit 77 (CTest's skip) when Xvfb or openbox is missing.
#
#   with_desktop.sh COMMAND [ARG...]
set -u

for program in Xvfb openbox xprop; do
  if ! command -v "$program" >/dev/null; then
    echo "with_desktop: $program is not installed (scripts/setup.sh installs it)" >&2
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulo-desktop.XXXXXX")
xvfb_pid=""
wm_pid=""
finish() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# -displayfd picks a free display number, so several of these run at once.
Xvfb -displayfd 3 -screen 0 "${TABULO_DESKTOP_SCREEN:-1280x1024x24}" -nolisten tcp \
  3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "with_desktop: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  echo "with_desktop: openbox did not start:" >&2
  cat "$work/openbox.log" >&2
  exit 1
fi

export QT_QPA_PLATFORM=xcb
"$@"
