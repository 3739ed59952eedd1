#!/usr/bin/env bash
# usage: packages_cli_test.sh QELL_DESIGNER
# The list of design packages, round trip under a temporary configuration folder: the
# shipped package listed while there is no list file; a damaged file or a missing one
# refused with the list unchanged; a good one added once; a listed package that fails
# at start reported in one line and skipped while the designer starts; removal by path
# and by name, down to an empty list that stays empty. The list file is replaced whole.
set -uo pipefail
designer=$1
. "$(dirname "$0")/../support/cli_checks.sh"
export XDG_CONFIG_HOME=$work/config
list=$XDG_CONFIG_HOME/qell-designer/packages
shipped=$(cd "$(dirname "$designer")/../lib/qell" && pwd)/IW14QellDEDXE7.bpl

lines() { # NAME N: $work/out has N lines
  expect "$1: $2 lines" [ "$(wc -l <"$work/out")" -eq "$2" ]
}

run 0 packages list
lines "no list file" 1
expect "the shipped package, described, loads" \
  [ "$(cat "$work/out")" = "$(printf '%s\tKAV IntraWeb Qell Controls design time support\tloads' "$shipped")" ]
expect "listing writes nothing" [ ! -e "$list" ]

head -c 4000 "$shipped" >"$work/damaged.bpl"
run 1 packages add "$work/damaged.bpl"
expect "a damaged file is refused, named" grep -qF "damaged.bpl" "$work/err"
expect "and the list is unchanged" [ ! -e "$list" ]
run 1 packages add "$work/missing.bpl"
expect "a missing file is refused" [ ! -e "$list" ]

cp "$shipped" "$work/copy.bpl"
(cd "$work" && "$designer" packages add copy.bpl) || fail "add a good package by a relative path"
expect "added after the shipped one, as an absolute path" \
  [ "$(cat "$list")" = "$(printf '%s\n%s' "$shipped" "$work/copy.bpl")" ]
run 0 packages add "$work/copy.bpl"
expect "adding it again changes nothing" [ "$(wc -l <"$list")" -eq 2 ]
expect "nothing else is left in the folder" [ "$(ls -A "$(dirname "$list")")" = packages ]
run 0 packages list
lines "both listed" 2
expect "both load" [ "$(grep -c $'\tloads$' "$work/out")" -eq 2 ]

# The copy damaged after it was added: reported in one line at start and skipped.
head -c 4000 "$shipped" >"$work/copy.bpl"
printf 'close\n' >"$work/close.txt"
run 0 design --script "$work/close.txt"
expect "one line for the failing package" [ "$(wc -l <"$work/err")" -eq 1 ]
expect "naming it" grep -q "^qell-designer: package skipped: '$work/copy.bpl'" "$work/err"
run 0 packages list
expect "list says why it fails" grep -qF "$work/copy.bpl"$'\t\tfails: ' "$work/out"

run 0 packages remove "$work/copy.bpl"
expect "removed by path" [ "$(cat "$list")" = "$shipped" ]
run 1 packages remove "$work/copy.bpl"
expect "not on the list any more" grep -q "is not on the list" "$work/err"
run 0 packages remove IW14QellDEDXE7
expect "removed by name: an empty list" [ -f "$list" ] && [ ! -s "$list" ]
run 0 packages list
lines "an empty list stays empty" 0
run 0 design --script "$work/close.txt"
expect "the designer starts with no package" [ ! -s "$work/err" ]

# Without XDG_CONFIG_HOME, or with a relative one, the list is under HOME.
mkdir "$work/home"
(cd "$work" && env -u XDG_CONFIG_HOME HOME="$work/home" "$designer" packages remove IW14QellDEDXE7.bpl) \
  || fail "remove by file name"
expect "~/.config without XDG_CONFIG_HOME" [ -f "$work/home/.config/qell-designer/packages" ]
rm -r "$work/home/.config"
(cd "$work" && XDG_CONFIG_HOME=config HOME="$work/home" "$designer" packages remove IW14QellDEDXE7) \
  || fail "remove by name"
expect "a relative XDG_CONFIG_HOME is ignored" [ -f "$work/home/.config/qell-designer/packages" ]
finish
