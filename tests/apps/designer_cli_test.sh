#!/usr/bin/env bash
# qell-designer's command line as users and scripts see it: outputs, batch mode, and
# errors with their exit codes.
# usage: designer_cli_test.sh path/to/qell-designer
set -uo pipefail
designer=${1:?usage: designer_cli_test.sh QELL_DESIGNER}
source "$(dirname "$0")/../support/cli_checks.sh"

# check NAME EXPECTED_EXIT EXPECTED_STDOUT -- ARGS...: runs the designer with ARGS
# (standard input from $input when set) and compares exit code and output.
check() {
  local name=$1 want_rc=$2 want_out=$3
  shift 4
  local out rc=0
  out=$("$designer" "$@" <"${input:-/dev/null}" 2>"$work/err") || rc=$?
  if [ "$rc" -ne "$want_rc" ] || [ "$out" != "$want_out" ]; then
    fail "$name: exit $rc (want $want_rc), output:"
    printf '%s\n' "$out" | head -5
    echo "  want:"
    printf '%s\n' "$want_out" | head -5
    sed 's/^/  stderr: /' "$work/err" | head -3
  else
    pass
  fi
}
# unwritable NAME ARGS...: with standard output on a full disk the run fails (exit 1)
# and says so, rather than reporting success having written nothing.
unwritable() {
  local name=$1 rc=0
  shift
  "$designer" "$@" <"${input:-/dev/null}" >/dev/full 2>"$work/err" || rc=$?
  expect "$name exit $rc" [ "$rc" -eq 1 ]
  err_line "qell-designer: cannot write standard output"
}

tab=$'\t'

check from-levels 0 "\$0001BF60${tab}96${tab}191${tab}1" -- colour from-levels 50 199 150
check from-levels-grey 0 "\$00BFBFBF${tab}191${tab}191${tab}191" -- colour from-levels 0 0 150
check to-levels 0 "50${tab}199${tab}150" -- colour to-levels 96 191 1
check to-levels-extended 0 "107${tab}200${tab}31" -- colour to-levels 0 31 40
check to-levels-200 0 "200${tab}200${tab}200" -- colour to-levels 255 0 1
check hsb 0 "\$00FF0080${tab}128${tab}0${tab}255" -- colour hsb -0.25 1 1
check hsb-hex 0 "\$00808080${tab}128${tab}128${tab}128" -- colour hsb 0 0 0x1p-1
check resolve-web 0 "navy${tab}web${tab}\$00800000${tab}\$00800000${tab}Navy" -- colour resolve navy

check out-of-range 1 "" -- colour from-levels 50 201 150
err_line "'201'"
check not-a-number 1 "" -- colour to-levels 1 x 3
err_line "'x'"
check wrong-count 2 "" -- colour to-levels 1 2
check unknown-name 1 "" -- colour resolve NoSuchColour

printf '0 0 150\n50 199 150\n' >"$work/rows"
input="$work/rows" check batch 0 "0${tab}0${tab}150${tab}\$00BFBFBF${tab}191${tab}191${tab}191
50${tab}199${tab}150${tab}\$0001BF60${tab}96${tab}191${tab}1" -- colour from-levels
printf '1 2 3\n4 5\n' >"$work/bad"
input="$work/bad" check batch-error 1 "1${tab}2${tab}3${tab}117${tab}133${tab}2" -- colour to-levels
err_line "line 2"

# Echoed input is quoted: control bytes escaped, a NUL shown rather than ending the
# message, and a long text cut.
check escaped-field 1 "" -- colour to-levels 1 $'\e[31m' 3
err_line "green '\x1b[31m' is not an integer"
printf '1 2 3\n4 a\0b 6\n' >"$work/nul"
input="$work/nul" check batch-nul 1 "1${tab}2${tab}3${tab}117${tab}133${tab}2" -- colour to-levels
err_line "line 2: green 'a\x00b' is not an integer"
printf '1 %s 3\n' "$(head -c 5000000 /dev/zero | tr '\0' 7)" >"$work/long"
input="$work/long" check long-field 1 "" -- colour from-levels
err_line "line 1: field '7777777777"
expect long-field-message [ "$(wc -c <"$work/err")" -lt 200 ]
check resolve-escaped 1 "" -- colour resolve $'Navy\r\x7f'
err_line "'Navy\x0d\x7f' is not a colour name"

names=$("$designer" colour names | awk -F'\t' '$1 == "web"' | wc -l)
expect "names ($names web)" [ "$names" -eq 143 ]

# A line of exactly 16 MiB is allowed, one byte more is not.
{ head -c 16777216 /dev/zero | tr '\0' ' '; printf '\n1 2 3\n'; } >"$work/max-line"
input="$work/max-line" check longest-line 0 "1${tab}2${tab}3${tab}117${tab}133${tab}2" -- colour to-levels
{ head -c 16777217 /dev/zero | tr '\0' ' '; printf '\n1 2 3\n'; } >"$work/over-line"
input="$work/over-line" check too-long-line 1 "" -- colour to-levels
err_line "line 1: line is longer than 16777216 bytes"
rm -f "$work/max-line" "$work/over-line"

# The dialog headless: OK prints the selection, Cancel prints nothing, a bad
# identifier shows nothing and fails.
printf 'page PageControl1 0\nselect WebColorsGrid 0 0\nclick Button1\n' >"$work/ok.txt"
first=$("$designer" colour names | head -1 | cut -f2)
check dialog-ok 0 "$first" -- dialog --script "$work/ok.txt" --snapshot "$work/ok.png"
expect dialog-snapshot [ -s "$work/ok.png" ]
printf 'key Enter\n' >"$work/enter.txt"
check dialog-ok-unchanged 0 "Navy" -- dialog --identifier Navy --script "$work/enter.txt"
printf 'key Escape\n' >"$work/cancel.txt"
check dialog-cancel 1 "" -- dialog --identifier '$000000FF' --script "$work/cancel.txt"
check dialog-script-ends 1 "" -- dialog
check dialog-bad-identifier 2 "" -- dialog --identifier NoSuchColour --script "$work/ok.txt"
err_line \
  "dialog: not a web colour name, toolkit identifier or integer literal: 'NoSuchColour' is not a valid integer value"
printf 'click NoSuchControl\n' >"$work/badscript.txt"
check dialog-bad-script 2 "" -- dialog --script "$work/badscript.txt"

# A snapshot that cannot be written whole (here: a file size limit, which holds for
# root too) fails and keeps the picture that was there.
cp "$work/ok.png" "$work/keep.png"
rc=0
(trap '' XFSZ; ulimit -f 1; exec "$designer" dialog --script "$work/ok.txt" --snapshot "$work/keep.png") \
  >/dev/null 2>"$work/err" || rc=$?
expect "snapshot-full-disk exit $rc" [ "$rc" -eq 2 ]
err_line "Cannot write '$work/keep.png': File too large"
expect snapshot-kept cmp -s "$work/ok.png" "$work/keep.png"
expect snapshot-no-leftover [ "$(ls -A "$work" | grep -c keep)" -eq 1 ]

# The designer headless: a script runs against it and its last frame is saved; a page
# that cannot be read, or a script line that fails, ends it with exit 2.
printf 'pick ButtonOrder\ninspect Inspector Appearance.TextColor\ntype Inspector "Navy"\nkey Enter\n' \
  >"$work/design.txt"
check design-script 0 "" -- design --script "$work/design.txt" --snapshot "$work/design.png"
expect design-snapshot [ -s "$work/design.png" ]
printf 'object Page1: TQellPage\n  Widht = 3\nend\n' >"$work/badpage.txt"
check design-bad-page 2 "" -- design "$work/badpage.txt" --script "$work/design.txt"
err_line "'$work/badpage.txt': line 2: "
check design-missing-page 2 "" -- design "$work/nonexistent.txt" --script "$work/design.txt"
err_line "Cannot read '$work/nonexistent.txt': No such file or directory"
printf 'pick NoSuchButton\n' >"$work/badpick.txt"
check design-bad-script 2 "" -- design --script "$work/badpick.txt"
check design-two-pages 2 "" -- design "$work/badpage.txt" "$work/badpage.txt"
usage_err "unexpected argument"
# --size: the window's size, headless too, no smaller than the designer's minimum.
check design-size 0 "" -- design --size 800x480 --script "$work/design.txt" --snapshot "$work/small.png"
expect design-size-png [ "$(/usr/bin/identify -format '%wx%h' "$work/small.png")" = 800x480 ]
check design-size-too-small 2 "" -- design --size 640x400 --script "$work/design.txt"
usage_err "--size takes WIDTHxHEIGHT from 800x480 to 8192x8192, not '640x400'"

# The tour: each step said and pictured, the page saved and read back.
mkdir -p "$work/tour"
"$designer" tour "$work/tour" >"$work/tour.out" 2>"$work/err" && rc=0 || rc=$?
expect "tour exit $rc" [ "$rc" -eq 0 ]
expect tour-pictures [ "$(ls "$work/tour"/*.png | wc -l)" -eq 7 ]
expect tour-saved grep -q "Appearance.BackgroundColor = Tomato" "$work/tour/page.txt"
expect tour-read-back grep -q "^   Appearance.BackgroundColor = Tomato  (edited by TIWKAVMOBILEColorEditor)" "$work/tour.out"

# Options are read strictly: anything wrong or ignored is an error (exit 2).
check option-unknown 2 "" -- dialog --frobnicate
usage_err "unknown option '--frobnicate'"
check option-scale-suffix 2 "" -- dialog --window --scale 2x
usage_err "--scale takes a whole number from 1 to 8, not '2x'"
check option-scale-wraps 2 "" -- dialog --window --scale 4294967297
usage_err "not '4294967297'"
check option-scale-alone 2 "" -- dialog --scale 2
usage_err "--scale works only with --window"
check option-no-value 2 "" -- dialog --identifier
usage_err "--identifier needs a value"
check option-empty-snapshot 2 "" -- dialog --snapshot ""
usage_err "--snapshot needs a file name"
check option-twice 2 "" -- dialog --script "$work/ok.txt" --script "$work/cancel.txt"
usage_err "--script is given more than once"
check option-window-script 2 "" -- dialog --window --script "$work/ok.txt"
usage_err "--window and --script exclude each other"

# Help goes to standard output and succeeds.
for args in "--help" "-h" "colour --help" "colour -h" "dialog --help" "dialog --window -h" "design --help" \
    "tour --help"; do
  read -ra words <<<"$args"
  out=$("$designer" "${words[@]}" 2>"$work/err") && rc=0 || rc=$?
  ok=0
  [ "$rc" -eq 0 ] && [ ! -s "$work/err" ] && [[ $out == usage:* ]] && ok=1
  expect "help ($args): exit $rc" [ "$ok" -eq 1 ]
done

# Standard output that cannot be written is a failure, whatever the command.
unwritable full-from-levels colour from-levels 1 2 3
unwritable full-resolve colour resolve Navy
unwritable full-names colour names
unwritable full-dialog dialog --script "$work/ok.txt"
unwritable full-help --help
input="$work/rows" unwritable full-batch colour from-levels
rc=0
"$designer" colour names >&- 2>"$work/err" || rc=$?
expect "closed-output exit $rc" [ "$rc" -eq 1 ]
err_line "cannot write standard output: Bad file descriptor"

finish
