#!/usr/bin/env bash
# qell-designer's commands that build a page, as a script or CI runs them: an empty
# page, components added and deleted, each saved as `set` saves under the same lock, and
# every refusal leaving the file byte for byte as it was, not even rewritten.
# usage: page_build_cli_test.sh QELL_DESIGNER
set -uo pipefail
designer=${1:?usage: page_build_cli_test.sh QELL_DESIGNER}
source "$(dirname "$0")/../support/cli_checks.sh"
page=$work/page.txt

# is_page TEXT: the page file is TEXT and a line break, byte for byte.
is_page() {
  printf '%s\n' "$1" >"$work/want"
  cmp -s "$work/want" "$page" && pass || { fail "the page differs:"; diff "$work/want" "$page" | head -20; }
}

# An empty page: the page alone, as the writer writes it.
run 0 new "$page" --blank && out_is ""
is_page $'object Page1: TQellPage\nend'
run 1 new "$page" --blank && err_line "already exists"

# Components added: each name printed, at the place and size asked, defaults left out of
# the file as the writer leaves them out; the class found without case.
run 0 add "$page" TQellButton && out_is QellButton1
run 0 add "$page" tqelllabel --at 24,-8 --size 120x20 && out_is QellLabel1
run 0 add "$page" TQellButton --name Order --at 10,20 && out_is Order
run 0 add "$page" TQellButton --size 0x0 && out_is QellButton2
is_page "object Page1: TQellPage
  object QellButton1: TQellButton
  end
  object QellLabel1: TQellLabel
    Left = 24
    Top = -8
    Width = 120
  end
  object Order: TQellButton
    Left = 10
    Top = 20
  end
  object QellButton2: TQellButton
    Width = 0
    Height = 0
  end
end"
run 0 get "$page" QellLabel1.Top && out_is -8

# Refusals: one line naming what is wrong, exit 2, the file not touched.
keep
run 2 add "$page" TNoSuch && err_line "no component class 'TNoSuch'"
untouched
run 2 add "$page" TQellPage && err_line "TQellPage is not a component that a page holds"
run 2 add "$page" TButton && err_line "TButton is not a component that a page holds"
run 2 add "$page" TQellButton --name order && err_line "A component named order already exists"
run 2 add "$page" TQellButton --name PAGE1 && err_line "A component named PAGE1 already exists"
run 2 add "$page" TQellButton --name 1st && err_line "'1st' is not a valid component name"
untouched
run 2 add "$page" TQellButton --at 5 && usage_err "--at takes X,Y"
run 2 add "$page" TQellButton --at 4097,0 && usage_err "from -4096 to 4096, not '4097,0'"
run 2 add "$page" TQellButton --size -1x5 && usage_err "--size takes WIDTHxHEIGHT"
run 2 add "$page" TQellButton --name '' && usage_err "--name needs a name"
run 2 add "$page" && usage_err "missing arguments"
run 2 delete "$page" QellButton1 Nope && err_line "no component 'Nope' on the page"
run 2 delete "$page" page1 && err_line "'page1' is the page, not a component on it"
run 2 delete "$page" && usage_err "missing arguments"
untouched
run 2 add "$work/missing.txt" TQellButton && err_line "missing.txt"
expect "no file made" [ ! -e "$work/missing.txt" ]
chmod 444 "$page"
run 2 delete "$page" Order && err_line "read-only"
untouched
chmod 644 "$page"

# Deleted, names without case, each once however often named; nothing printed.
run 0 delete "$page" qellbutton1 ORDER qellbutton1 && out_is ""
is_page "object Page1: TQellPage
  object QellLabel1: TQellLabel
    Left = 24
    Top = -8
    Width = 120
  end
  object QellButton2: TQellButton
    Width = 0
    Height = 0
  end
end"

# Adds at once on one page: each waits for the lock, so each reads what the one before
# wrote, takes a name of its own and keeps every component the others added.
pids=()
for i in 1 2 3 4 5 6; do
  "$designer" add "$page" TQellSpinner >"$work/added.$i" 2>>"$work/concurrent.err" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || fail "a concurrent add failed: $(cat "$work/concurrent.err")"; done
expect "six names of their own" [ "$(cat "$work"/added.* | sort -u | tr '\n' ' ')" = \
  "QellSpinner1 QellSpinner2 QellSpinner3 QellSpinner4 QellSpinner5 QellSpinner6 " ]
expect "six spinners on the page" [ "$(grep -c ': TQellSpinner$' "$page")" -eq 6 ]

for command in add delete; do
  run 0 "$command" --help && expect "help $command" grep -q "^usage: qell-designer $command " "$work/out"
done
run 0 --help && expect help-lists-build-commands grep -q "qell-designer delete FILE NAME..." "$work/out"

finish
