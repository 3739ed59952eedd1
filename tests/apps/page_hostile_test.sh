#!/usr/bin/env bash
# qell-designer's page commands on hostile pages and against other writers: names that
# would make a component unreachable, lines ended by CR alone, a FIFO for a page,
# concurrent sets, read-only files, owners, modes and hard links kept, typed bytes
# quoted in messages, and option parsing after "--".
# usage: page_hostile_test.sh QELL_DESIGNER
set -uo pipefail
designer=${1:?usage: page_hostile_test.sh QELL_DESIGNER}
source "$(dirname "$0")/../support/cli_checks.sh"
page=$work/page.txt

"$designer" new "$page" || fail "new"

# A component may not take the page's name, nor an unreadable one, nor another's.
printf 'object SamplePage: TQellPage\n  object SamplePage: TQellList\n  end\nend\n' >"$work/clash.txt"
run 2 props "$work/clash.txt" && err_has "line 2: duplicate component name 'SamplePage'"
keep
run 1 set "$page" ButtonOrder.Name '' && err_has "may not be empty"
run 1 set "$page" ButtonOrder.Name labeltitle && err_has "A component named labeltitle already exists"
run 1 set "$page" SamplePage.Name ButtonOrder && err_has "A component named ButtonOrder already exists"
run 1 set "$page" ButtonOrder.Name 'Order Now' && err_has "'Order Now' is not a valid component name"
untouched
run 0 set "$page" ButtonOrder.Name _Order2 && run 0 get "$page" _order2.Left

# What the user typed is quoted in every message, never sent to the terminal raw.
quoted() { err_has "$1" && expect "no escape byte: $1" [ "$(tr -d -c '\033' <"$work/err" | wc -c)" -eq 0 ]; }
run 1 set "$page" _Order2.Name "$(printf 'a\033[2Jb')" && quoted "'a\\x1b[2Jb' is not a valid component name"
run 1 set "$page" _Order2.Appearance.TextAlign "$(printf 'q\033')" && quoted "'q\\x1b' is not a valid"
run 1 set "$page" _Order2.Left "$(printf '1\0332')" && quoted "'1\\x1b2' is not a valid integer value"
printf 'inspect Inspector "\033"\n' >"$work/esc.txt"
run 2 design "$page" --script "$work/esc.txt" && quoted "no property row '\\x1b'"

# Page text printed by props, get and values steers no terminal: control characters
# (ESC, BEL, an 8-bit CSI) show as \xNN, other scripts as they are.
printf "object P: TQellPage\n  Title = 'a'#27']0;owned'#7'b'#27'[2J'#155'\xce\xbb'\nend\n" >"$work/title.txt"
run 0 props "$work/title.txt" P
expect "props escapes the title" grep -qF 'P.Title	a\x1b]0;owned\x07b\x1b[2J\xc2\x9bλ	' "$work/out"
expect "no control byte from props" [ "$(tr -d -c '\000-\010\013-\037\177' <"$work/out" | wc -c)" -eq 0 ]
run 0 get "$work/title.txt" P.Title
expect "get escapes the title" grep -qxF 'a\x1b]0;owned\x07b\x1b[2J\xc2\x9bλ' "$work/out"

# A failed script line fails the run (exit 2), and the lines after it do not run.
printf 'inspect Inspector No.Such.Row\nkey Ctrl+S\n' >"$work/fails.txt"
run 2 design "$page" --script "$work/fails.txt" && err_has "script line 1: no property row 'No.Such.Row'"

# Lines ended by CR alone or CR LF count as lines in messages.
printf 'object P: TQellPage\r  Width = 10\r  Nonsense = 3\rend\r' >"$work/cr.txt"
run 2 get "$work/cr.txt" P.Width && err_has "line 3: unknown property 'Nonsense'"
printf 'object P: TQellPage\r\n  Width = 10\r\n\r\n  Nonsense = 3\r\nend\r\n' >"$work/crlf.txt"
run 2 get "$work/crlf.txt" P.Width && err_has "line 4: unknown property 'Nonsense'"

# A FIFO for a page is refused at once, never waited on.
mkfifo "$work/fifo.txt"
rc=0
timeout 20 "$designer" props "$work/fifo.txt" >"$work/out" 2>"$work/err" || rc=$?
expect "fifo refused (exit $rc)" [ "$rc" -eq 2 ]
err_has "a FIFO, not a regular file"

# Options may follow the text after "--"; an option without its value says so.
run 0 set "$page" _Order2.Left -- -5 --package "$(dirname "$designer")/../lib/qell/IW14QellDEDXE7.bpl"
run 0 get "$page" _Order2.Left && expect "-- -5 then --package" [ "$(cat "$work/out")" = -5 ]
run 2 package check --cycles && err_has "--cycles needs a number"
run 2 set "$page" _Order2.Left 3 --package && err_has "--package needs a value"

# Concurrent sets of different properties on one page: each waits its turn and every
# change is there after.
components=(LabelTitle _Order2 OnOffToasted TrackbarSize ListBread PopupConfirm SpinnerFilling)
for round in 1 2 3; do
  pids=()
  for i in "${!components[@]}"; do
    "$designer" set "$page" "${components[$i]}.Top" $((round * 10 + i)) 2>>"$work/concurrent.err" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || fail "a concurrent set failed: $(cat "$work/concurrent.err")"; done
  for i in "${!components[@]}"; do
    [ "$(get "${components[$i]}.Top")" = $((round * 10 + i)) ] || fail "round $round: ${components[$i]}.Top lost"
  done
done

# A file without write permission is refused as read-only, even for root, and kept.
chmod 444 "$page"
keep
run 2 set "$page" _Order2.Left 7 && err_has "read-only"
untouched
expect read-only-mode-kept [ "$(stat -c %a "$page")" = 444 ]
chmod 644 "$page"

# A replaced file keeps its owner, group and mode; one with several links is written in
# place, so every name shows the change.
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$page"
  chmod 640 "$page"
  run 0 set "$page" _Order2.Left 8
  expect "owner, group and mode kept ($(stat -c '%U:%G %a' "$page"))" [ "$(stat -c '%U:%G %a' "$page")" = "nobody:nogroup 640" ]
fi
ln "$page" "$work/link.txt"
inode=$(stat -c %i "$page")
run 0 set "$page" _Order2.Left 9
expect hard-link-kept [ "$(stat -c '%i %h' "$page")" = "$inode 2" ]
expect other-name-changed cmp -s "$page" "$work/link.txt"
expect no-leftover [ -z "$(find "$work" -name '.*.tmp')" ]
rm "$work/link.txt"

# As a user who may not write the file (mode 444, a folder the user may write): refused,
# kept, exit 2. As one who may write it but not own it (group-writable): written in
# place, the owner kept.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
  shared=$(mktemp -d /tmp/qell-shared.XXXXXX)
  chmod 777 "$shared"
  cp "$page" "$shared/page.txt"
  chown root:root "$shared/page.txt"
  chmod 444 "$shared/page.txt"
  cp "$shared/page.txt" "$work/before"
  rc=0
  as_nobody "$designer" set "$shared/page.txt" _Order2.Left 11 2>"$work/err" || rc=$?
  expect "nobody refused (exit $rc)" [ "$rc" -eq 2 ]
  err_has "read-only"
  expect nobody-file-kept [ "$(stat -c '%U %a' "$shared/page.txt")" = "root 444" ]
  cmp -s "$work/before" "$shared/page.txt" && pass || fail "nobody changed the read-only page"
  chown root:nogroup "$shared/page.txt"
  chmod 664 "$shared/page.txt"
  as_nobody "$designer" set "$shared/page.txt" _Order2.Left 12 2>"$work/err" || fail "nobody's group set: $(cat "$work/err")"
  expect "group-writable owner kept ($(stat -c '%U:%G %a' "$shared/page.txt"))" \
    [ "$(stat -c '%U:%G %a' "$shared/page.txt")" = "root:nogroup 664" ]
  [ "$("$designer" get "$shared/page.txt" _Order2.Left)" = 12 ] && pass || fail "nobody's group set lost"
  rm -rf "$shared"
fi

# A save that fails in a script fails the run (exit 2), the change kept in a recovery
# file (here in the state folder: the page's folder cannot be written); a recovery file
# beside a page stops no later script, which is never asked about it.
as_user() { "$@"; }
[ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
shared=$(mktemp -d /tmp/qell-shared.XXXXXX)
mkdir "$shared/ro" "$shared/state"
cp "$page" "$shared/ro/page.txt"
printf 'pick _Order2\ninspect Inspector Caption\ntype Inspector "Pay"\nkey Enter\nkey Ctrl+S\nclick OK\n' >"$shared/save.txt"
chmod 444 "$shared/ro/page.txt"
chmod 555 "$shared/ro"
chmod 777 "$shared/state"
chmod 755 "$shared"
chmod 644 "$shared/save.txt"
rc=0
as_user env HOME="$shared/state" XDG_CONFIG_HOME= XDG_STATE_HOME="$shared/state" "$designer" design "$shared/ro/page.txt" --script "$shared/save.txt" \
  >"$work/out" 2>"$work/err" || rc=$?
expect "a failed save fails the script (exit $rc)" [ "$rc" -eq 2 ]
err_has "the page was not saved: Cannot write '$shared/ro/page.txt': read-only"
err_has "unsaved changes written to '$shared/state/qell-designer/page.txt."
recovered=$(ls "$shared"/state/qell-designer/page.txt.*.recovered 2>/dev/null | head -1)
expect "the change is recovered" grep -qF "Caption = 'Pay'" "${recovered:-/dev/null}"
cmp -s "$page" "$shared/ro/page.txt" && pass || fail "the read-only page changed"
cp "$page" "$work/beside.txt"
cp "$recovered" "$work/beside.txt.recovered"
printf 'pick _Order2\ninspect Inspector Caption\n' >"$work/look.txt"
run 0 design "$work/beside.txt" --script "$work/look.txt" && err_has "holds unsaved changes to '$work/beside.txt'"
expect "the recovery file is left" [ -f "$work/beside.txt.recovered" ]
chmod -R u+w "$shared"
rm -rf "$shared"

finish
