#!/usr/bin/env bash
# The window back end's clipboard is the display's: what one program copies another
# pastes, while the first keeps its window open.
# usage: window_clipboard.sh path/to/toolkit_clipboard      (exit 77: X tools missing)
set -uo pipefail
program=${1:?usage: window_clipboard.sh TOOLKIT_CLIPBOARD}
source "$(dirname "$0")/../support/xvfb.sh"

empty=$("$program" paste) || fail "paste failed on a new display"
[ -z "$empty" ] || fail "a new display's clipboard holds '$empty'"
text=$'Appearance.TextColor\t#FF6347 \xe2\x9c\x93'
"$program" copy "$text" >"$work/out.txt" 2>"$work/err.txt" &
app_pid=$!
wait_window "clipboard owner" >/dev/null
pasted=$("$program" paste) || fail "paste failed"
[ "$pasted" = "$text" ] || fail "pasted '$pasted', copied '$text'"
echo "passed"
