#!/usr/bin/env bash
# qell-designer's accessibility commands as CI runs them: `check` on a failing, a
# passing and a broken page (exit codes 1, 0, 2), its lines and JSON, suggestions that
# `set` takes and that then pass; `preview` pictures checked by pixel; and `props
# --long` with a type, default and description on every row.
# usage: contrast_cli_test.sh QELL_DESIGNER PNG_PROBE
set -uo pipefail
designer=${1:?usage: contrast_cli_test.sh QELL_DESIGNER PNG_PROBE}
probe=${2:?usage: contrast_cli_test.sh QELL_DESIGNER PNG_PROBE}
source "$(dirname "$0")/../support/cli_checks.sh"
page=$work/page.txt
tab=$'\t'

# has_line TEXT: the last run printed the line TEXT.
has_line() {
  grep -qxF -- "$1" "$work/out" && pass || fail "no line '$1' in: $(head -3 "$work/out")"
}

# The sample page fails: exit 1, one line a pair, the ratio truncated (4.4989 is 4.49).
run 0 new "$page"
run 1 check "$page"
has_line "ButtonOrder${tab}ButtonOrder.Appearance.TextColor${tab}ButtonOrder.Appearance.BackgroundColor${tab}White${tab}SeaGreen${tab}4.24${tab}4.50${tab}fail"
has_line "SpinnerFilling${tab}SpinnerFilling.Appearance.HighlightTextColor${tab}SpinnerFilling.Appearance.HighlightColor${tab}clHighlightText${tab}clHighlight${tab}4.49${tab}4.50${tab}fail"
has_line "LabelTitle${tab}LabelTitle.TextColor${tab}SamplePage.Color${tab}8388608${tab}clBtnFace${tab}14.04${tab}4.50${tab}pass"
has_line "PopupConfirm${tab}PopupConfirm.Appearance.TitleTextColor${tab}PopupConfirm.Appearance.TitleBarColor${tab}White${tab}SteelBlue${tab}4.10${tab}4.50${tab}fail"
lines=$(wc -l <"$work/out")
[ "$(awk -F'\t' 'NF != 8' "$work/out" | wc -l)" -eq 0 ] && pass || fail "a line without 8 fields"
cp "$work/out" "$work/aa"

# AAA asks 7 of text, still 3 of parts: DimGray on the page passes AA, not AAA. The
# label's colour has the host's integer editor (the web colour editor serves the other
# classes), so its value and suggestion are numbers, as its row shows them.
run 1 check "$page" --level AAA
has_line "LabelTitle${tab}LabelTitle.TextColor${tab}SamplePage.Color${tab}8388608${tab}clBtnFace${tab}14.04${tab}7.00${tab}pass"
[ "$(awk -F'\t' '$2 ~ /ThumbColor$/ && $7 != "3.00"' "$work/out" | wc -l)" -eq 0 ] && pass || fail "a part needs 3 at AAA"
cp "$page" "$work/dim.txt"
"$designer" set "$work/dim.txt" LabelTitle.TextColor '$00696969'
run 1 check "$work/dim.txt"
has_line "LabelTitle${tab}LabelTitle.TextColor${tab}SamplePage.Color${tab}6908265${tab}clBtnFace${tab}4.81${tab}4.50${tab}pass"
run 1 check "$work/dim.txt" --level AAA --suggest
grep -qP "^LabelTitle\tLabelTitle.TextColor\tSamplePage.Color\t6908265\tclBtnFace\t4.81\t7.00\tfail\t[0-9]+$" \
  "$work/out" && pass || fail "DimGray at AAA: $(grep LabelTitle "$work/out")"

# JSON: the same pairs, as objects; a suggestion only on failing ones.
run 1 check "$page" --json --suggest
python3 - "$work/out" "$work/aa" <<'EOF' && pass || fail "JSON does not match the lines"
import json, sys
items = json.load(open(sys.argv[1]))
lines = [l.rstrip("\n").split("\t") for l in open(sys.argv[2])]
assert len(items) == len(lines), (len(items), len(lines))
for o, l in zip(items, lines):
    assert [o["component"], o["foreground"], o["background"], o["foregroundValue"], o["backgroundValue"]] == l[:5]
    assert "%.2f" % o["ratio"] == l[5] and "%.2f" % o["required"] == l[6]
    assert o["pass"] == (l[7] == "pass")
    assert ("suggestion" in o) == (not o["pass"])
    assert o["kind"] in ("text", "large text", "part")
EOF

# Every suggestion is a value `set` takes; with them the page passes. A colour that is
# the foreground of two pairs gets one suggestion each: a round fixes each as asked, and
# the next round is judged on what the last one left.
run 1 check "$page" --suggest
[ "$(awk -F'\t' '$8 == "fail" && NF != 9' "$work/out" | wc -l)" -eq 0 ] && pass || fail "a failing line without a suggestion"
for round in 1 2 3; do
  "$designer" check "$page" --suggest >"$work/fix" && break
  while IFS=$'\t' read -r _ fg _ _ _ _ _ verdict suggestion; do
    [ "$verdict" = fail ] || continue
    "$designer" set "$page" "$fg" "$suggestion" || fail "set $fg $suggestion"
    [ "$("$designer" get "$page" "$fg")" = "$suggestion" ] && pass || fail "$fg is not $suggestion"
  done <"$work/fix"
done
run 0 check "$page"
[ "$(wc -l <"$work/out")" -eq "$lines" ] && pass || fail "the fixed page has other pairs"
has_line "LabelTitle${tab}LabelTitle.TextColor${tab}SamplePage.Color${tab}8388608${tab}clBtnFace${tab}14.04${tab}4.50${tab}pass"
run 0 check "$page" --json
python3 -c 'import json,sys; assert all(o["pass"] and "suggestion" not in o for o in json.load(open(sys.argv[1])))' \
  "$work/out" && pass || fail "JSON of the passing page"

# A page that cannot be read, or a wrong option: exit 2, nothing on standard output.
printf 'object P: TQellPage\n  Colour = Red\nend\n' >"$work/broken.txt"
run 2 check "$work/broken.txt" && err_has "line 2"
[ -s "$work/out" ] && fail "output for a broken page" || pass
run 2 check "$work/missing.txt"
run 2 check "$page" --level AAAA && err_has "--level takes AA or AAA"
run 2 check "$page" extra
run 0 check --help && has_line "usage: qell-designer check FILE [--level AA|AAA] [--suggest] [--json] [--package PATH]"

# preview: the page alone at its size; simulated, a grey page stays grey and SeaGreen
# turns grey only for achromatopsia.
run 0 new "$work/sample.txt"
run 0 preview "$work/sample.txt" --out "$work/plain.png"
read -r size face button < <("$probe" "$work/plain.png" 2 470 40 60 | paste -sd' ' | sed 's/ /x/')
[ "$size" = "640x480" ] && pass || fail "preview size $size"
[ "$face" = "$("$designer" colour resolve clBtnFace | cut -f4)" ] && pass || fail "page colour $face"
[ "$button" = "\$00578B2E" ] && pass || fail "button face $button"
run 0 preview "$work/sample.txt" --out "$work/grey.png" --simulate achromatopsia
read -r _ _ face button < <("$probe" "$work/grey.png" 2 470 40 60 | paste -sd' ')
[ "$face" = "\$00F0F0F0" ] && pass || fail "grey page colour $face"
[ "${button:3:2}" = "${button:5:2}" ] && [ "${button:5:2}" = "${button:7:2}" ] && pass ||
  fail "achromatopsia button $button"
run 0 preview "$work/sample.txt" --out "$work/deut.png" --simulate deuteranopia
read -r _ _ _ button < <("$probe" "$work/deut.png" 2 470 40 60 | paste -sd' ')
[ "$button" != "\$00578B2E" ] && pass || fail "deuteranopia left SeaGreen as it was"
run 2 preview "$work/sample.txt" --out "$work/x.png" --simulate colourblind && err_has "--simulate takes"
run 2 preview "$work/sample.txt" && err_has "--out FILE.png is needed"
run 2 preview "$work/broken.txt" --out "$work/x.png"
[ -e "$work/x.png" ] && fail "a picture of a broken page" || pass

# props --long: path, value, editor, type, default, description on every row.
run 0 props "$work/sample.txt" --long
[ "$(awk -F'\t' 'NF != 6 || $6 == ""' "$work/out" | wc -l)" -eq 0 ] && pass ||
  fail "rows without six columns and a description: $(awk -F'\t' 'NF != 6 || $6 == ""' "$work/out" | head -3)"
[ "$(wc -l <"$work/out")" -gt 100 ] && pass || fail "too few rows"
has_line "ButtonOrder.Appearance.BorderWidth${tab}1${tab}TIntegerProperty${tab}Integer 0..16${tab}1${tab}How many pixels wide the frame is; 0 draws none."
has_line "ButtonOrder.Appearance.TextColor${tab}White${tab}TIWKAVMOBILEColorEditor${tab}TIWColor${tab}clBtnText${tab}The colour of the caption."
has_line "OnOffToasted.Appearance.Shape${tab}qsPill${tab}TEnumProperty${tab}TQellShape${tab}qsPill${tab}The shape of the track and the thumb: square, rounded or pill."
grep -qP '^SpinnerFilling\.Slots\[0\]\t\(TQellSpinnerSlot\)\t[A-Za-z]+\tTQellSpinnerSlot\t\tOne item of SpinnerFilling\.Slots' "$work/out" &&
  pass || fail "the slot's row"
run 0 props "$work/sample.txt"
[ "$(awk -F'\t' 'NF != 3' "$work/out" | wc -l)" -eq 0 ] && pass || fail "props without --long changed"

finish
