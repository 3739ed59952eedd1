#!/usr/bin/env bash
# qell-designer's commands on page files as a user runs them: a new page, its
# properties listed and cross-checked one by one, values set through the package's
# colour editor and read back, refusals that leave the file as it was, the colour
# dialog headless, and the inspector's drawings checked pixel by pixel.
# usage: page_cli_test.sh QELL_DESIGNER PNG_PROBE
set -uo pipefail
designer=${1:?usage: page_cli_test.sh QELL_DESIGNER PNG_PROBE}
probe=${2:?usage: page_cli_test.sh QELL_DESIGNER PNG_PROBE}
sample=$(dirname "$0")/../../platform/components/SamplePage.txt
source "$(dirname "$0")/../support/cli_checks.sh"
page=$work/page.txt

# resolved TEXT: what the colour TEXT is drawn as ($00BBGGRR), from the colour command.
resolved() { "$designer" colour resolve "$1" | cut -f4; }

# A new page is the bundled sample, and a second one may not replace it, nor go
# where a link points.
run 0 new "$page"
expect new-is-the-sample cmp -s "$sample" "$page"
echo edited >>"$page"
keep
run 1 new "$page" && err_line "'$page' already exists"
untouched
ln -s "$work/nowhere.txt" "$work/dangling"
run 1 new "$work/dangling"
expect new-through-no-link [ ! -e "$work/nowhere.txt" ]
run 2 new "$work/no/such/folder/page.txt" && err_line "No such file or directory"
run 0 new "$page.2"
mv "$page.2" "$page"

# Every row of a component, each read again by its path through get; the editors are
# the package's for TIWColor, the host's for the rest.
run 0 props "$page" ButtonOrder
cp "$work/out" "$work/props"
rows=0
while IFS=$'\t' read -r path value editor; do
  rows=$((rows + 1))
  [ "$(get "$path")" = "$value" ] || fail "get $path: '$(get "$path")', props says '$value'"
done <"$work/props"
expect "props rows ($rows)" [ "$rows" -eq 15 ]
expect props-colour-editor grep -qxF $'ButtonOrder.Appearance.BorderColor\t$00123456\tTIWKAVMOBILEColorEditor' "$work/props"
expect props-sub-object grep -qxF $'ButtonOrder.Appearance\t(TQellButtonAppearance)\tTClassProperty' "$work/props"
expect props-name grep -qxF $'ButtonOrder.Name\tButtonOrder\tTComponentNameProperty' "$work/props"
run 0 props "$page"
expect props-page-colour grep -qxF $'SamplePage.Color\tclBtnFace\tTColorProperty' "$work/out"
expect props-slot grep -qxF $'SpinnerFilling.Slots[1].TextColor\tMaroon\tTIWKAVMOBILEColorEditor' "$work/out"
expect props-item grep -qxF $'SpinnerFilling.Slots[3]\t(TQellSpinnerSlot)\tTCollectionItemProperty' "$work/out"
expect props-whole-page-holds-the-component grep -qzF "$(cat "$work/props")" "$work/out"
expect props-every-component [ "$(cut -f1 "$work/out" | grep -c '\.Name$')" -eq 9 ]
run 0 props "$page" samplepage && expect props-page-itself [ "$(wc -l <"$work/out")" -eq 5 ]
run 2 props "$page" NoSuchButton && err_line "props: no component 'NoSuchButton' on the page"

# A colour's list holds every web and toolkit name; the page's own TColor only the
# toolkit's; an enumeration its names.
run 0 values "$page" SpinnerFilling.Slots[0].BackgroundColor
expect values-web-and-toolkit cmp -s <(sort "$work/out") <("$designer" colour names | cut -f2 | sort)
run 0 values "$page" SamplePage.Color
expect values-toolkit cmp -s <(sort "$work/out") <("$designer" colour names | awk -F'\t' '$1 == "toolkit" {print $2}' | sort)
run 0 values "$page" ButtonOrder.Appearance.TextAlign && out_is $'qaLeft\nqaCenter\nqaRight'
run 2 values "$page" ButtonOrder.Left && err_line "'ButtonOrder.Left' has no value list"

# Set by a web name in any case, a toolkit identifier and a literal; each is read back
# by a new run, and the page file says it as the writer does.
run 0 set "$page" ButtonOrder.Appearance.TextColor seagreen && out_is ""
run 0 get "$page" ButtonOrder.Appearance.TextColor && out_is SeaGreen
expect set-written grep -qx '    Appearance.TextColor = SeaGreen' "$page"
run 0 set "$page" SpinnerFilling.Slots[2].TextColor clBtnShadow
run 0 set "$page" PopupConfirm.Appearance.BodyColor '$00ABCDEF'
run 0 get "$page" SpinnerFilling.Slots[2].TextColor && out_is clBtnShadow
run 0 get "$page" PopupConfirm.Appearance.BodyColor && out_is '$00ABCDEF'
run 0 get "$page" ButtonOrder.Appearance.TextColor && out_is SeaGreen
run 0 set "$page" ButtonOrder.Left -- -5 && run 0 get "$page" ButtonOrder.Left && out_is -5

# Refused: the editor's message, exit 1, and the file not rewritten at all.
keep
colour_forms="type a name from the list (clNavy, clBtnFace), #RRGGBB, \$00BBGGRR or a number from 0 to 16777215"
colour_refused="is not a colour: $colour_forms"
for bad in Bluish '#12345' '#GGHHII' '#' ' #ff00' 'rgb(255,0,0)' '#FF634'; do
  run 1 set "$page" ButtonOrder.Appearance.TextColor "$bad" &&
    err_line "set: 'ButtonOrder.Appearance.TextColor': '${bad# }' $colour_refused"
done
run 1 set "$page" SamplePage.Color ' Bluish' && err_line "set: 'SamplePage.Color': 'Bluish' $colour_refused"
# The page's colour is the toolkit's TColor: its names, not the web's; and a number that
# names no colour (a high byte neither 0 nor a named system colour's) is refused by every
# colour row, the label's unclaimed TIWColor among them.
run 1 set "$page" SamplePage.Color Navy && err_line "set: 'SamplePage.Color': 'Navy' $colour_refused"
for row in SamplePage.Color ButtonOrder.Appearance.TextColor LabelTitle.TextColor; do
  for bad in '$FF0000FF' '$80000000' '$01000000'; do
    run 1 set "$page" "$row" "$bad" && err_line "set: '$row': '$bad' names no colour: $colour_forms"
  done
done
run 1 set "$page" ButtonOrder.Left ' ' && err_line "'' is not a valid integer value"
untouched
run 1 set "$page" ButtonOrder.Appearance.BorderWidth 17 && err_line "between 0 and 16"
run 1 set "$page" ButtonOrder.Appearance '(x)' && err_line "'ButtonOrder.Appearance' is read-only"
untouched
run 2 set "$page" ButtonOrder.Appearance.Nope x && err_line "set: no property 'Appearance.Nope' on 'ButtonOrder'"
run 2 get "$page" $'Nope\e[1m.Left' && err_line "get: no component 'Nope\x1b[1m' on the page"
run 2 get "$page" ButtonOrder && err_line "names no property"
run 2 set "$page" ButtonOrder.Left -5 && usage_err "unknown option '-5'"
untouched
run 2 get "$work/missing.txt" ButtonOrder.Left && err_line "get: Cannot read '$work/missing.txt': No such file or directory"
printf 'object P: TQellPage\n  Width = 10\n  Nonsense = 3\nend\n' >"$work/bad.txt"
run 2 get "$work/bad.txt" P.Width && err_line "get: '$work/bad.txt': line 3"
# A colour value that names none is no page: `check` cannot score it.
printf 'object P: TQellPage\n  object L: TQellLabel\n    TextColor = $FF0000FF\n  end\nend\n' >"$work/nocolour.txt"
run 2 check "$work/nocolour.txt" &&
  err_line "line 3: TextColor: '\$FF0000FF' is not a valid TIWColor: write a name (Navy, clBtnFace) or \$00BBGGRR"
printf 'object P: TQellPage\n  Color = $80000000\nend\n' >"$work/nocolour.txt"
run 2 get "$work/nocolour.txt" P.Width &&
  err_line "line 2: Color: '\$80000000' is not a valid TColor: write a name (clNavy, clBtnFace) or \$00BBGGRR"
run 2 get "$page" ButtonOrder.Left --package "$work/missing.bpl" && err_line "missing.bpl"

# Typed values forgive white space around them, except text, which keeps it; CSS hex
# is red-green-blue, stored as the toolkit's $00BBGGRR.
run 0 set "$page" ButtonOrder.Appearance.TextColor '  Navy  ' && run 0 get "$page" ButtonOrder.Appearance.TextColor &&
  out_is Navy
run 0 set "$page" ButtonOrder.Appearance.TextColor '#f00' && run 0 get "$page" ButtonOrder.Appearance.TextColor &&
  out_is "$("$designer" colour names | awk -F'\t' '$1 == "web" && $3 == "$000000FF" { print $2 }')"
run 0 set "$page" ButtonOrder.Appearance.TextColor $'\t#FF6347\n' &&
  expect hex-written grep -qx '    Appearance.TextColor = Tomato' "$page"
run 0 set "$page" SamplePage.Color ' #1E90fF ' && run 0 get "$page" SamplePage.Color && out_is '$00FF901E'
run 0 set "$page" SamplePage.Color ' clNavy ' && run 0 get "$page" SamplePage.Color && out_is clNavy
run 0 set "$page" SamplePage.Color clBtnFace
# A TIWColor that no package claims (the label's) has the host's editor for web colours:
# the row says what the file says, offers the names, and takes them.
run 0 props "$page" LabelTitle && expect label-row grep -qxP 'LabelTitle.TextColor\tNavy\tTIWColorProperty' "$work/out"
expect label-file grep -qx '    TextColor = Navy' "$page"
run 0 values "$page" LabelTitle.TextColor && expect label-values grep -qx Tomato "$work/out"
run 0 set "$page" LabelTitle.TextColor ' tomato ' && run 0 get "$page" LabelTitle.TextColor && out_is Tomato
run 0 set "$page" LabelTitle.TextColor '#000080' && run 0 get "$page" LabelTitle.TextColor && out_is Navy
run 0 set "$page" ButtonOrder.Left ' 12 ' && run 0 get "$page" ButtonOrder.Left && out_is 12
run 0 set "$page" ButtonOrder.Appearance.TextAlign $' qaRight\t' && run 0 get "$page" ButtonOrder.Appearance.TextAlign &&
  out_is qaRight
run 0 set "$page" ButtonOrder.Caption '  Order  ' && run 0 get "$page" ButtonOrder.Caption && out_is '  Order  '
expect caption-keeps-spaces grep -qxF "    Caption = '  Order  '" "$page"

# Reset: the value a new component holds, which the file then leaves out; a row without
# a default is refused and the file left alone.
printf 'object P: TQellPage\n  object B: TQellButton\n  end\nend\n' >"$work/fresh.txt"
for path in Appearance.CornerRadius Appearance.TextColor Caption Left; do
  run 0 reset "$page" "ButtonOrder.$path" && out_is ""
  expect "reset $path" [ "$(get "ButtonOrder.$path")" = "$("$designer" get "$work/fresh.txt" "B.$path")" ]
done
expect reset-leaves-out [ "$(sed -n '/object ButtonOrder/,/^  end/p' "$page" |
  grep -cE '^    (Appearance.CornerRadius|Appearance.TextColor|Caption|Left) =')" -eq 0 ]
keep
run 1 reset "$page" ButtonOrder.Name && err_line "reset: 'ButtonOrder.Name': 'Name' has no default to reset to"
run 1 reset "$page" ButtonOrder.Appearance && err_line "has no default to reset to"
run 2 reset "$page" ButtonOrder.Nope && err_line "reset: no property 'Nope' on 'ButtonOrder'"
untouched

# The package's colour dialog, headless: OK writes its choice and prints it; Cancel
# and a failing script leave the file alone.
printf 'page PageControl1 0\nselect WebColorsGrid 0 0\nclick Button1\n' >"$work/ok.txt"
printf 'key Escape\n' >"$work/cancel.txt"
printf 'click NoSuchControl\n' >"$work/broken.txt"
first=$("$designer" colour names | head -1 | cut -f2)
run 0 edit "$page" ListBread.ItemAppearance.DividerColor --script "$work/ok.txt" --snapshot "$work/dialog.png" &&
  out_is "$first"
run 0 get "$page" ListBread.ItemAppearance.DividerColor && out_is "$first"
expect edit-snapshot [ "$("$probe" "$work/dialog.png" | head -1)" != "" ]
keep
run 1 edit "$page" ListBread.ItemAppearance.DividerColor --script "$work/cancel.txt" && out_is ""
untouched
run 2 edit "$page" ListBread.ItemAppearance.DividerColor --script "$work/broken.txt" && err_line "NoSuchControl"
untouched
run 2 edit "$page" ListBread.ItemIndex --script "$work/ok.txt" && err_line "'ListBread.ItemIndex' has no dialog"
run 2 edit "$page" ListBread.ItemAppearance.DividerColor --window --script "$work/ok.txt" &&
  usage_err "--window and --script exclude each other"
untouched

# Drawings: the value cell at the inspector's size with the swatch in the colour the
# value stands for, a cell of another size, and the drop-down list with the current
# value highlighted.
run 0 draw "$page" ButtonOrder.Appearance.BorderColor --out "$work/cell.png"
expect "cell ($("$probe" "$work/cell.png" 8 8 | tr '\n' ' '))" \
  [ "$("$probe" "$work/cell.png" 8 8 | tr '\n' ' ')" = "137 17 \$00123456 " ]
run 0 draw "$page" SamplePage.Color --selected --width 200 --height 30 --out "$work/cell.png"
swatch=$("$probe" "$work/cell.png" 15 15 150 15 | tr '\n' ' ')
expect "cell sized ($swatch)" [ "$swatch" = "200 30 $(resolved clBtnFace) $(resolved clWindow) " ]
run 0 set "$page" TrackbarSize.Appearance.FillColor clHighlight
run 0 values "$page" TrackbarSize.Appearance.FillColor
count=$(wc -l <"$work/out")
index=$(grep -nx clHighlight "$work/out" | cut -d: -f1)
run 0 draw "$page" TrackbarSize.Appearance.FillColor --list --out "$work/list.png"
# Items are 16 pixels tall below a 2-pixel border: the swatch 8 pixels into an item,
# the text's background near its right end.
y=$((2 + (index - 1) * 16 + 8))
list=$("$probe" "$work/list.png" 8 "$y" 130 "$y" 130 $((y + 16)) | tr '\n' ' ')
w=$("$probe" "$work/list.png" | cut -d' ' -f1)
expect "list ($list)" [ "$list" = "$w $((4 + 16 * count)) $(resolved clHighlight) $(resolved clHighlight) $(resolved clWindow) " ]
expect "list width ($w)" [ "$w" -ge 137 ]
run 2 draw "$page" ButtonOrder.Caption --list --out "$work/x.png" && err_line "has no value list"
run 2 draw "$page" ButtonOrder.Caption && usage_err "--out FILE.png is needed"
run 2 draw "$page" ButtonOrder.Caption --out "$work/x.png" --list --selected && usage_err "not with --height or --selected"
run 2 draw "$page" ButtonOrder.Caption --out "$work/x.png" --width 0 && usage_err "--width takes a whole number from 1 to 4096"
expect draw-refusals-write-nothing [ ! -e "$work/x.png" ]

# Help for each command on standard output.
for command in new props get values set reset edit draw; do
  run 0 "$command" --help && expect "help $command" grep -q "^usage: qell-designer $command " "$work/out"
done
run 0 --help && expect help-lists-page-commands grep -q "qell-designer draw FILE PATH" "$work/out"

finish
