#!/usr/bin/env bash
# The designer in a real window on a virtual X server, used as a person uses it: select
# the button in the preview, open its background colour's dialog with the "…" button,
# pick a web colour, OK, Ctrl+S; the saved file holds the new colour, and a screenshot of
# the window equals the surface the program presented last.
# usage: designer_window_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: designer_window_e2e.sh QELL_DESIGNER}
export XVFB_SCREEN=1280x800x24
source "$(dirname "$0")/../support/xvfb.sh"

page="$work/page.txt"
"$designer" new "$page" || fail "cannot write the sample page"
# The web grid lists the names in table order; cell (4, 2) is the 29th.
expected=$("$designer" colour names | awk -F'\t' '$1 == "web" { n++; if (n == 29) print $2 }')
[ -n "$expected" ] || fail "no 29th web colour name"

start_window "Qell Designer" "$designer" design "$page"

# Positions from the designer's layout: panes 8 pixels apart under 20-pixel headings,
# the list 220 wide, the inspector 300 wide at the right of the 1216-pixel window, its
# rows 18 high from 2 pixels in under the filter box (21 high, 4 apart); the page 12
# pixels into the preview.
inspector_left=$((1216 - 8 - 300))
row_y() { echo $((8 + 20 + 21 + 4 + 2 + $1 * 18 + 8)); }
click "$wid" $((8 + 220 + 8 + 12 + 24 + 60)) $((8 + 20 + 12 + 56 + 16))   # ButtonOrder in the preview
click "$wid" $((inspector_left + 40)) "$(row_y 6)"                         # the Appearance row
xdotool key Right                                                          # opens it
sleep 0.3
click "$wid" $((inspector_left + 40)) "$(row_y 7)"                         # Appearance.BackgroundColor
# The "…" button: left of the drop-down button at the row's right end.
xdotool mousemove --window "$wid" $((inspector_left + 298 - 18 - 9)) "$(row_y 7)"
sleep 0.3
# The next frame presented is the dialog's first: the designer paints again only once
# the dialog has closed.
rm -f "$QELL_WINDOW_SNAPSHOT"
xdotool click 1
dialog=$(wait_window "TIWColor Editor")
click "$dialog" 20 18                                                      # the "Web Colors" tab
click "$dialog" $((8 + 4 + 2 + 4 * 25 + 12)) $((8 + 20 + 4 + 1 + 2 + 2 * 25 + 12))  # cell (4, 2)
click "$dialog" $((209 + 37)) $((401 + 12))                                # OK
xdotool windowfocus --sync "$wid" || true
xdotool key ctrl+s

# Saved: the title loses its modified mark, and the file holds the colour.
saved() { has_title "$wid" "Qell Designer - $page" && grep -q "Appearance.BackgroundColor = $expected\$" "$page"; }
eventually saved ||
  fail "not saved: title '$(window_name "$wid")', file: $(grep -n BackgroundColor "$page" | head -3)"

expect_presented "$wid"

# Interrupted from outside, with nothing unsaved, the designer ends as SIGTERM says.
kill -TERM "$app_pid"
wait_exit
[ "$rc" -eq 143 ] || fail "exit code $rc, expected 143"
echo "designer window end to end: ok ($expected saved)"
