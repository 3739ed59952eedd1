#!/usr/bin/env bash
# The designer's window on a screen smaller than the size asked for, without a window
# manager: it carries its minimum size for window managers, fits the screen (not below
# that minimum) with the page filling it, and a key typed while a message box opens
# reaches the box: F1 and Enter at once, ten times over, and each time the box closes.
# usage: designer_screen_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: designer_screen_e2e.sh QELL_DESIGNER}
export XVFB_SCREEN=1024x640x24
source "$(dirname "$0")/../support/xvfb.sh"
command -v xprop >/dev/null || { echo "skipped: xprop is not installed"; exit 77; }

page="$work/page.txt"
"$designer" new "$page" || fail "cannot write the sample page"
start_window "Qell Designer" "$designer" design --size 1600x900 "$page"

xprop -id "$wid" WM_NORMAL_HINTS >"$work/hints.txt"
grep -q "program specified minimum size: 800 by 480" "$work/hints.txt" ||
  fail "no minimum size for window managers: $(cat "$work/hints.txt")"

eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1024 ] && [ $((Y + HEIGHT)) -le 640 ] ||
  fail "the window ${WIDTH}x${HEIGHT} at $X,$Y is not within the 1024x640 screen"
[ "$WIDTH" -ge 800 ] && [ "$HEIGHT" -ge 480 ] || fail "the window ${WIDTH}x${HEIGHT} is below 800x480"
# The form took the window's size: what shows is what it presented, pixel for pixel.
expect_presented "$wid"

box='^Qell Designer keys$'
for round in $(seq 10); do
  xdotool key --delay 0 F1 Return
  closed=""
  for _ in $(seq 40); do
    sleep 0.25
    if [ -z "$(xdotool search --onlyvisible --name "$box" 2>/dev/null)" ]; then closed=yes; break; fi
  done
  [ -n "$closed" ] || fail "round $round: the Enter typed as the keys box opened did not reach it"
done

kill -TERM "$app_pid"
wait_exit
[ "$rc" -eq 143 ] || fail "exit code $rc after SIGTERM, expected 143"
echo "designer screen end to end: ok (minimum size hint, fitted to the screen, keys before a box reach it)"
