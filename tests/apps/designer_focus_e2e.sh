#!/usr/bin/env bash
# Keyboard focus after a modal form, in a real window without a window manager: a value
# the inspector refuses brings up an error box, which takes the keyboard; Enter closes
# it, and the keys typed next must reach the designer's inspector again (the saved file
# shows them). Then SIGTERM with nothing unsaved: status 143 and no recovery file.
# usage: designer_focus_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: designer_focus_e2e.sh QELL_DESIGNER}
export XVFB_SCREEN=1280x800x24
source "$(dirname "$0")/../support/xvfb.sh"

page="$work/page.txt"
"$designer" new "$page" || fail "cannot write the sample page"
start_window "Qell Designer" "$designer" design "$page"

# The page is selected; its Width is the inspector's third row (rows 18 high from 2
# pixels in, under the 20-pixel heading and the filter box, 21 high and 4 apart),
# values 140 pixels into the 300-pixel pane.
value_x=$((1216 - 8 - 300 + 140 + 40))
width_y=$((8 + 20 + 21 + 4 + 2 + 2 * 18 + 8))
# The box's title: the program's name or the command's.
box_name='^(Qell Designer|qell-designer design)$'

click "$wid" "$value_x" "$width_y"
xdotool type --delay 50 "abc"
xdotool key Return
eventually has_window "$box_name" || fail "no error box"
sleep 0.5
xdotool key Return
eventually no_window "$box_name" || fail "Enter did not close the error box"

# No click, no focus given from outside: the keys go wherever the program put the focus.
xdotool key BackSpace BackSpace BackSpace
xdotool type --delay 50 "700"
xdotool key Return
eventually has_title "$wid" "Qell Designer - $page *" ||
  fail "the keys typed after the box did not reach the inspector (title '$(window_name "$wid")')"
# Only now Ctrl+S: SDL takes the keyboard's state as it is when it handles the window's
# regained focus, so a Ctrl held then, while the program was still behind, would be
# applied to the keys typed before it.
xdotool key ctrl+s
saved_width() { awk '/^  Width =/ { print $3 }' "$page"; }
saved_700() { [ "$(saved_width)" = 700 ]; }
eventually saved_700 || fail "Ctrl+S did not save Width 700 (page Width $(saved_width))"

kill -TERM "$app_pid"
wait_exit
[ "$rc" -eq 143 ] || fail "exit code $rc after SIGTERM, expected 143"
[ ! -e "$page.recovered" ] || fail "a recovery file with nothing unsaved"
echo "designer focus end to end: ok (typed after the error box, saved)"
