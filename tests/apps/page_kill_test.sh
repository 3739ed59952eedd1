#!/usr/bin/env bash
# qell-designer set killed (SIGKILL) at moments spread over a whole run, a few hundred
# times, on a page large enough that saving it takes a while. After every kill the page
# holds, byte for byte, the text before the run or the text the run was writing, never
# a mix, and a later run works. A kill can leave at most a hidden ".page.txt.PID-N.tmp"
# of the killed run, and only whole: the content is written to an unnamed file, named
# just before the rename. Such a leftover is kept to the end, to show that later runs
# neither read nor mind it. The verdict does not depend on when the kills land.
# usage: page_kill_test.sh QELL_DESIGNER
set -uo pipefail
designer=${1:?usage: page_kill_test.sh QELL_DESIGNER}
source "$(dirname "$0")/../support/cli_checks.sh"
page=$work/page.txt

# 3000 buttons: about 600 KB, a save of tens of milliseconds.
{
  echo "object BigPage: TQellPage"
  for ((i = 1; i <= 3000; i++)); do
    printf "  object Button%d: TQellButton\n    Left = %d\n    Top = %d\n    Caption = 'Button %d'\n" \
      "$i" $((i % 4000)) $((i % 3000)) "$i"
    printf "    Appearance.BackgroundColor = SeaGreen\n    Appearance.BorderColor = \$00%06X\n  end\n" "$i"
  done
  echo end
} >"$page"

# The two texts the page takes in turn, each made by a run left alone.
set_colour() { "$designer" set "$page" Button1.Appearance.TextColor "$1"; }
set_colour Navy && cp "$page" "$work/Navy" || fail "set Navy"
set_colour Maroon && cp "$page" "$work/Maroon" || fail "set Maroon"
cmp -s "$work/Navy" "$work/Maroon" && fail "the two texts are the same"

# How long a whole run takes (the slowest of three), in microseconds.
span=0
for colour in Navy Maroon Navy; do
  start=$(date +%s%N)
  set_colour "$colour" || fail "set $colour"
  took=$((($(date +%s%N) - start) / 1000))
  [ "$took" -gt "$span" ] && span=$took
done
# A few hundred kills within about 20 seconds, however fast the build.
kills=$((20000000 / (span * 6 / 10 + 20000)))
[ "$kills" -gt 300 ] && kills=300
[ "$kills" -lt 100 ] && kills=100

current=Navy
leftovers=0
declare -A known
finished=0
for ((i = 0; i < kills; i++)); do
  if [ "$current" = Navy ]; then target=Maroon; else target=Navy; fi
  # Moments spread evenly over the run and a little beyond, visited out of order.
  delay=$(((i * 97 % kills) * span * 12 / 10 / kills))
  "$designer" set "$page" Button1.Appearance.TextColor "$target" >/dev/null 2>&1 &
  pid=$!
  sleep "$(printf '%d.%06d' $((delay / 1000000)) $((delay % 1000000)))"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rc=$?
  if cmp -s "$page" "$work/$target"; then
    current=$target
    pass
  elif cmp -s "$page" "$work/$current"; then
    pass
  else
    fail "kill $i at ${delay} µs: the page is neither the old text nor the new"
    break
  fi
  case $rc in
  0) finished=$((finished + 1)); [ "$current" = "$target" ] || fail "run $i finished but did not write" ;;
  137) ;;
  *) fail "run $i: exit $rc" ;;
  esac
  for f in "$work"/.[!.]*; do
    [ -e "$f" ] || continue
    name=${f##*/}
    [ -n "${known[$name]:-}" ] && continue
    if [[ $name =~ ^\.page\.txt\.$pid-[0-9]+\.tmp$ ]] && cmp -s "$f" "$work/$target"; then
      known[$name]=1
      leftovers=$((leftovers + 1))
    else
      fail "kill $i left '$name', which is not a whole copy of the new text by run $pid"
    fi
  done
done

# After it all a run works and reads what it wrote, beside any leftover.
set_colour Teal && [ "$("$designer" get "$page" Button1.Appearance.TextColor)" = Teal ] && pass ||
  fail "a run after the kills"
[ "$(find "$work" -maxdepth 1 -name '.*tmp' | wc -l)" -eq "$leftovers" ] && pass || fail "a later run left a file"

echo "kills: $kills over ${span} µs runs, $finished finished first, $leftovers leftover temporary files"
finish
