#!/usr/bin/env bash
# The panes a user sizes, in a real window without a window manager: the splitters
# dragged with the mouse, the layout kept in $XDG_CONFIG_HOME when the designer ends, the
# next start opening as it was left, and a damaged layout file passed over.
# usage: designer_layout_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: designer_layout_e2e.sh QELL_DESIGNER}
export XVFB_SCREEN=1280x800x24
source "$(dirname "$0")/../support/xvfb.sh"
layout="$XDG_CONFIG_HOME/qell-designer/layout"

# drag WID X1 X2 Y: the left button pressed at X1,Y, moved to X2 in steps, released.
drag() {
  xdotool mousemove --window "$1" "$2" "$4"
  sleep 0.3
  xdotool mousedown 1
  for step in 1 2 3 4; do
    xdotool mousemove --window "$1" $(($2 + ($3 - $2) * step / 4)) "$4"
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.3
}

# start [ARGS]: the designer on the sample page in a window; sets wid.
start() {
  start_window "Qell Designer" "$designer" design "$@"
}

# stop: SIGTERM, as a session that logs out ends the designer.
stop() {
  kill -TERM "$app_pid"
  wait_exit
  [ "$rc" -eq 143 ] || fail "exit code $rc after SIGTERM, expected 143"
}

has_line() { grep -qx "$1" "$layout"; }

start --size 1000x600
# The list's splitter lies in the gap after it (8 + 220), the inspector's before it.
drag "$wid" 232 332 200
drag "$wid" $((1000 - 8 - 300 - 4)) $((1000 - 8 - 300 - 4 - 60)) 200
expect_presented "$wid"
cp "$work/shot.png" "$work/dragged.png"
stop
has_line "components 320" && has_line "inspector 360" && has_line "window 1000x600" ||
  fail "the layout kept is not the one left: $(tr '\n' ' ' <"$layout")"

# The next start opens as it was left: the same picture, and the same layout kept again.
start
expect_presented "$wid"
/usr/bin/compare -metric AE "$work/shot.png" "$work/dragged.png" null: 2>"$work/ae.txt" ||
  fail "the window opens otherwise than it was left ($(cat "$work/ae.txt") pixels differ)"
stop
has_line "components 320" && has_line "inspector 360" || fail "the layout read is not the one kept"

# A damaged file is passed over, said in one line, and the window opens as at first.
printf 'components \377\377\nwindow 99999999999x-4\n' >"$layout"
start --size 1000x600
expect_presented "$wid"
grep -q "layout settings: .*line 1 passed over" "$work/err.txt" || fail "no word of the damaged file"
stop
has_line "components 220" && has_line "window 1000x600" || fail "the damaged file was not passed over"
echo "designer layout end to end: ok (splitters dragged, layout kept and read, a damaged file passed over)"
