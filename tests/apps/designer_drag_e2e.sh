#!/usr/bin/env bash
# A component dragged with the pointer in a real window without a window manager: the
# button is pressed in the preview, the pointer moved with the button held and let go,
# Ctrl+S; the saved file has the button where the drag and its snapping put it, and a
# screenshot of the window equals the surface the program presented last.
# usage: designer_drag_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: designer_drag_e2e.sh QELL_DESIGNER}
export XVFB_SCREEN=1280x800x24
source "$(dirname "$0")/../support/xvfb.sh"

page="$work/page.txt"
"$designer" new "$page" || fail "cannot write the sample page"
start_window "Qell Designer" "$designer" design "$page"

# The preview lies right of the 220-pixel list, panes 8 pixels apart under 20-pixel
# headings, and draws the page 12 pixels in; ButtonOrder lies at 24,56 on the page,
# 120 x 32. Pressed in its middle and moved by 101,43 in steps: its left edge would be
# at 125, its middle at 99 + 16. Snapping puts its centre across on the right edge of
# ListBread (24 + 160 = 184), so Left is 124, and its middle down on SpinnerFilling's
# (56 + 112 / 2 = 112), so Top is 96.
x=$((8 + 220 + 8 + 12 + 24 + 60))
y=$((8 + 20 + 12 + 56 + 16))
xdotool mousemove --window "$wid" "$x" "$y"
sleep 0.3
xdotool mousedown 1
for i in $(seq 1 10); do
  xdotool mousemove --window "$wid" $((x + 101 * i / 10)) $((y + 43 * i / 10))
  sleep 0.05
done
xdotool mouseup 1

# The move is one undo step: the title gets its modified mark. Then the keys.
eventually has_title "$wid" "Qell Designer - $page *" ||
  fail "the drag changed nothing (title '$(window_name "$wid")')"
xdotool key ctrl+s
button_at() { awk '/^  object ButtonOrder:/ { on = 1 } on && /^    (Left|Top) =/ { printf "%s%s ", $1, $3 } on && /^  end/ { exit }' "$page"; }
saved() { has_title "$wid" "Qell Designer - $page" && [ "$(button_at)" = "Left124 Top96 " ]; }
eventually saved || fail "not saved where it was dragged: title '$(window_name "$wid")', file: $(button_at)"

expect_presented "$wid"

kill -TERM "$app_pid"
wait_exit
[ "$rc" -eq 143 ] || fail "exit code $rc after SIGTERM, expected 143"
echo "designer drag end to end: ok (ButtonOrder saved at $(button_at))"
