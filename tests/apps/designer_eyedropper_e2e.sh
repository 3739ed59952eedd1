#!/usr/bin/env bash
# The eyedropper in a real window on a virtual X server, used as a person uses it: select
# the button in the preview, its background colour's row, Ctrl+E, a click on the page's
# empty area, Ctrl+S; the saved file holds the page's colour as drawn.
# usage: designer_eyedropper_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: designer_eyedropper_e2e.sh QELL_DESIGNER}
export XVFB_SCREEN=1280x800x24
source "$(dirname "$0")/../support/xvfb.sh"

page="$work/page.txt"
"$designer" new "$page" || fail "cannot write the sample page"
grep -q "^  Color = clBtnFace\$" "$page" || fail "the sample page is no longer clBtnFace"

start_window "Qell Designer" "$designer" design "$page"

# Positions from the designer's layout, as designer_window_e2e.sh finds them: the page 12
# pixels into the preview, the inspector's rows 18 high.
inspector_left=$((1216 - 8 - 300))
page_x() { echo $((8 + 220 + 8 + 12 + $1)); }
page_y() { echo $((8 + 20 + 12 + $1)); }
row_y() { echo $((8 + 20 + 21 + 4 + 2 + $1 * 18 + 8)); }
click "$wid" "$(page_x 84)" "$(page_y 72)"                 # ButtonOrder in the preview
click "$wid" $((inspector_left + 40)) "$(row_y 6)"         # the Appearance row
xdotool key Right                                          # opens it
sleep 0.3
click "$wid" $((inspector_left + 40)) "$(row_y 7)"         # Appearance.BackgroundColor
xdotool key ctrl+e
click "$wid" "$(page_x 300)" "$(page_y 6)"                 # the page, above and beside everything
xdotool key ctrl+s

# clBtnFace as drawn, set on the row picked for, and nothing else changed.
saved() { has_title "$wid" "Qell Designer - $page" && grep -q 'Appearance.BackgroundColor = \$00F0F0F0$' "$page"; }
eventually saved ||
  fail "not saved: title '$(window_name "$wid")', file: $(grep -n BackgroundColor "$page" | head -3)"
"$designer" new "$work/fresh.txt"
changed=$(diff "$work/fresh.txt" "$page" | grep -c '^>' || true)
[ "$changed" = 1 ] || fail "more than the picked colour changed: $(diff "$work/fresh.txt" "$page" || true)"

kill -TERM "$app_pid"
wait_exit
echo "designer eyedropper end to end: ok"
