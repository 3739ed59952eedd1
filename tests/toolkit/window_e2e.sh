#!/usr/bin/env bash
# The window back end end to end: the sample form in a real window on a virtual X
# server, driven by xdotool. Clicks and typing must reach the controls (the program
# prints what it received), and a screenshot of the window must equal the surface the
# program presented last, pixel for pixel.
# usage: window_e2e.sh path/to/toolkit_sample      (exit 77: X tools missing, skipped)
set -euo pipefail
sample=${1:?usage: window_e2e.sh TOOLKIT_SAMPLE}

source "$(dirname "$0")/../support/xvfb.sh"

start_window "Toolkit sample" "$sample" --window --snapshot "$work/final.png"

# Positions from tests/toolkit/sample_form.txt.
click "$wid" 313 20   # ButtonCount
click "$wid" 313 20
click "$wid" 80 150   # inside PaintBox1, below the page control's tabs
# Drag TrackBar1's thumb from its top end far below the bar: it follows to Max.
xdotool mousemove --window "$wid" 188 80 mousedown 1
for y in 120 200 300 400; do xdotool mousemove --window "$wid" 188 "$y"; sleep 0.05; done
xdotool mouseup 1
sleep 0.3
click "$wid" 120 18   # EditName
xdotool type --delay 60 "Hello"
# Alt+C presses the Count button; its letter must not land in the edit.
xdotool key alt+c

expect_presented "$wid"

xdotool key Return
wait_exit

grep -qx "result: 1" "$work/out.txt" || fail "Enter did not press OK (exit $rc)"
[ "$rc" -eq 1 ] || fail "exit code $rc, expected 1 (OK)"
grep -qx "name: Hello" "$work/out.txt" || fail "typing did not reach the edit (or Alt+C typed)"
grep -qx "position: 20" "$work/out.txt" || fail "the drag did not move the track bar to its end"
grep -qx "clicks: 3" "$work/out.txt" || fail "the clicks and Alt+C did not reach the button"
grep -q "^mark: [0-9]*,[0-9]*$" "$work/out.txt" || fail "the click did not reach the paint box"
[ -s "$work/final.png" ] || fail "no final snapshot"
echo "window end to end: ok ($(tr '\n' ' ' <"$work/out.txt"))"
