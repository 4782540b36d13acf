#!/usr/bin/env bash
# Japanese typed through a real input method (ibus with the mozc engine) into
# the main window on a private desktop: "nihongo", Space, Return stores
# 日本語 as Shift-JIS, the candidate window opens at the caret's line, and one
# Ctrl+Z takes the whole commit back. mozc refuses to run as root, so as root
# the input method and the program run as the unprivileged user nobody, with
# a private HOME and D-Bus session. Exit 77 (skip) with the reason when a
# piece is missing.
#
#   input_method_desktop_test.sh TABULO_BINARY
set -u
tabulo=$1
here=$(cd "$(dirname "$0")" && pwd)

skip() { echo "SKIP: $*"; exit 77; }
for program in ibus-daemon ibus xdotool xwininfo dbus-run-session setpriv; do
  command -v "$program" >/dev/null || skip "$program is not installed (scripts/setup.sh installs it)"
done
[ -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || skip "the mozc engine for ibus (ibus-mozc) is not installed"

if [ "${1:-}" != "--inner" ] && [ -z "${TABULO_IM_INNER:-}" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/tabulo-im.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  chmod 755 "$work"
  run_as=()
  if [ "$(id -u)" = 0 ]; then
    id nobody >/dev/null 2>&1 || skip "mozc refuses root and there is no user nobody to run it as"
    chown nobody "$work"
    run_as=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups)
    # nobody must reach the program through every folder above it.
    "${run_as[@]}" test -x "$tabulo" || skip "user nobody cannot run $tabulo"
  fi
  mkdir -p "$work/home/.config" "$work/home/.cache" "$work/run" && chmod 700 "$work/run"
  [ "$(id -u)" = 0 ] && chown -R nobody "$work"
  # The session bus and what it starts see the private HOME too.
  exec "$here/../support/with_desktop.sh" "${run_as[@]}" env TABULO_IM_INNER="$work" HOME="$work/home" \
    XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run" \
    dbus-run-session -- "$0" "$tabulo"
fi

# --- inside: the unprivileged user on the private desktop and D-Bus session.
work=$TABULO_IM_INNER
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export XDG_RUNTIME_DIR=$work/run TABULO_HOME=$work/tabulo
export QT_IM_MODULE=ibus XMODIFIERS=@im=ibus LANG=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME/mozc" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Hiragana input from the start, instead of the direct mode.
cat >"$XDG_CONFIG_HOME/mozc/ibus_config.textproto" <<'CFG'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
CFG

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

ibus-daemon --panel=disable --daemonize --replace 2>"$work/ibus.log"
for _ in $(seq 100); do ibus list-engine 2>/dev/null | grep -q "mozc-jp" && break; sleep 0.2; done
ibus list-engine 2>/dev/null | grep -q "mozc-jp" || skip "ibus does not offer the mozc engine: $(tail -2 "$work/ibus.log" | tr '\n' ' ')"
# Without a focused input context this sets the engine for the next one and
# still exits 1.
ibus engine mozc-jp 2>/dev/null

doc=$work/doc.txt
printf 'first\r\nsecond' >"$doc"
"$tabulo" "$doc" 2>"$work/tabulo.log" &
app=$!
# mozc's server detaches from the engine and would outlive the test: every
# process that carries this run's folder in its environment ends with it.
cleanup() {
  kill "$app" 2>/dev/null
  ibus exit 2>/dev/null
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    [ "$pid" = $$ ] || [ "$pid" = "$PPID" ] && continue
    tr '\0' '\n' <"$environ" 2>/dev/null | grep -qx "TABULO_IM_INNER=$work" && kill "$pid" 2>/dev/null
  done
}
trap cleanup EXIT
win=""
for _ in $(seq 100); do
  win=$(xdotool search --pid "$app" --onlyvisible 2>/dev/null | head -1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "FAIL: the main window did not appear"; exit 1; }
xdotool windowactivate --sync "$win" 2>/dev/null
sleep 1
# The caret to the end of line 2, then a new line 3: the composition starts
# well below line 1, column 0.
xdotool key --delay 80 ctrl+End Return
ibus engine mozc-jp
windows_before=$(xwininfo -root -children | grep -c '^ *0x')
xdotool type --delay 150 nihongo
sleep 1.5  # mozc's suggestion list opens under the composition

# The candidate window: a top-level window of mozc's renderer, mapped just
# below the caret's line.
eval "$(xdotool getwindowgeometry --shell "$win")"
win_x=$X win_y=$Y win_h=$HEIGHT
candidate=""
while read -r id; do
  [ "$id" = "$win" ] && continue
  info=$(xwininfo -id "$id" 2>/dev/null) || continue
  grep -q 'Map State: IsViewable' <<<"$info" || continue
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  name=$(xprop -id "$id" WM_CLASS 2>/dev/null)
  case "$name" in *mozc*|*Mozc*) candidate="$x $y" ;; esac
done < <(xwininfo -root -children | awk '/^ *0x/ {print $1}')
if [ -z "$candidate" ]; then
  fail "no candidate window of mozc was shown ($(xwininfo -root -children | grep -c '^ *0x') windows, $windows_before before)"
else
  read -r cx cy <<<"$candidate"
  # Under line 3 of the editor: the menu, tool bar and ruler take about 40
  # pixels of the window, a line 15, so line 2 ends about 70 pixels below
  # the window's top and line 3 about 85; column 0 is at the window's left.
  if [ "$cy" -lt $((win_y + 72)) ] || [ "$cy" -gt $((win_y + 130)) ] || [ "$cx" -gt $((win_x + 60)) ]; then
    fail "candidate window at $cx,$cy; the window is at $win_x,$win_y (height $win_h)"
  fi
  echo "candidate window at $cx,$cy; the main window at $win_x,$win_y"
fi
import -window root "$work/candidates.png" 2>/dev/null && [ -n "${TABULO_IM_SHOT:-}" ] && cp "$work/candidates.png" "$TABULO_IM_SHOT"

xdotool key space
sleep 1
xdotool key Return
sleep 0.5
xdotool key ctrl+s
sleep 1
expected=$(printf 'first\r\nsecond\r\n\x93\xfa\x96\x7b\x8c\xea' | od -An -tx1)
[ "$(od -An -tx1 <"$doc")" = "$expected" ] || fail "saved bytes:$(od -An -tx1 <"$doc"), expected$expected"

xdotool key ctrl+z
sleep 0.5
xdotool key ctrl+s
sleep 1
expected=$(printf 'first\r\nsecond\r\n' | od -An -tx1)  # the line break typed before stays
[ "$(od -An -tx1 <"$doc")" = "$expected" ] || fail "after one Ctrl+Z:$(od -An -tx1 <"$doc"), expected$expected"

kill "$app" 2>/dev/null
[ "$failures" = 0 ] && echo "input method test passed"
[ "$failures" = 0 ]
