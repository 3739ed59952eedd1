#!/usr/bin/env bash
# The colour dialog in a real window on a virtual X server: the user picks a web colour
# with the mouse and presses OK; the program prints the colour's name.
# usage: dialog_window_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: dialog_window_e2e.sh QELL_DESIGNER}
source "$(dirname "$0")/../support/xvfb.sh"

# The web grid lists the names in table order; cell (4, 2) is the 29th.
expected=$("$designer" colour names | awk -F'\t' '$1 == "web" { n++; if (n == 29) print $2 }')
[ -n "$expected" ] || fail "no 29th web colour name"

start_window "TIWColor Editor" "$designer" dialog --window --identifier Navy

# Window positions from the dialog's layout: the page control at (8, 8) with its
# first tab at its top left; the page below the 20-pixel tab strip, inset by 4; the
# web grid at (0, 1) on the page, a 2-pixel border, cells of 24 plus a 1-pixel line.
click "$wid" 20 18                                  # the "Web Colors" tab
click "$wid" $((8 + 4 + 2 + 4 * 25 + 12)) $((8 + 20 + 4 + 1 + 2 + 2 * 25 + 12))  # cell (4, 2)
click "$wid" $((209 + 37)) $((401 + 12))            # OK
wait_exit

[ "$rc" -eq 0 ] || fail "exit code $rc after OK, expected 0"
got=$(cat "$work/out.txt")
[ "$got" = "$expected" ] || fail "printed '$got', expected '$expected'"
echo "dialog window end to end: ok ($got)"
