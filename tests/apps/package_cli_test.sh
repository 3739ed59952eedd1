#!/usr/bin/env bash
# qell-designer package as users and scripts see it: the package information and the
# resources of a library file read without loading it, and the refusals with their
# exit codes. Names' hashes and the expected bytes are computed here, apart from the
# program.
# usage: package_cli_test.sh QELL_DESIGNER FIXTURE.bpl LIBRARY_WITHOUT_RESOURCES FORM_FILE
set -uo pipefail
designer=${1:?usage: package_cli_test.sh QELL_DESIGNER FIXTURE LIBRARY FORM}
fixture=$2
plain_library=$3
form=$4
source "$(dirname "$0")/../support/cli_checks.sh"


# The one-byte name hash: rotate left by 3 within 8 bits, xor the uppercase byte.
hash() {
  local name=${1^^} h=0 i c
  for ((i = 0; i < ${#name}; i++)); do
    printf -v c '%d' "'${name:i:1}"
    h=$(((((h << 3) | (h >> 5)) & 255) ^ c))
  done
  printf '$%02X' "$h"
}

tab=$'\t'
description="KAV IntraWeb Qell Controls design time support"
requires="IW14QellDXE7.bpl Intraweb_140_210.bpl vcl210.bpl rtl210.bpl inet210.bpl designide210.bpl"
units="IW14QellDEDXE7:3 IWKAVMOBILEDsnColorDialog:0 SysInit:0 IWKAVMOBILEDsnColor:0 IWQellRegDE:0"

expected() {
  echo "name${tab}IW14QellDEDXE7${tab}$(hash IW14QellDEDXE7)"
  echo "description${tab}$description"
  echo "version${tab}1.0.0.0"
  echo "flags${tab}\$4C300000"
  for r in $requires; do echo "requires${tab}$(hash "$r")${tab}$r"; done
  for u in $units; do echo "contains${tab}$(hash "${u%:*}")${tab}${u#*:}${tab}${u%:*}"; done
  echo "usage${tab}design"
  echo "defines${tab}RELEASE;"
  echo "aliases${tab}IWDsnColor=IWKAVMOBILEDsnColor;IWDsnColorDialog=IWKAVMOBILEDsnColorDialog;"
  echo "unit-table${tab}$1"
}

# Everything up to the exports is fixed; the exports and resources follow.
if run 0 package info "$fixture"; then
  head -n 19 "$work/out" >"$work/head"
  expected 5 | diff - "$work/head" >"$work/diff" && pass || { fail "package info:"; cat "$work/diff"; }
  grep -qx "export${tab}IWQellRegDE.Register" "$work/out" && pass || fail "package info lacks the unit-qualified export"
  grep -q "^export${tab}QellResourceSection" "$work/out" && fail "a hidden symbol is listed as an export" || pass
  form_size=$(wc -c <"$form")
  grep '^resource' "$work/out" | cut -f2-4 >"$work/resources"
  printf '%s\n' "DESCRIPTION${tab}raw${tab}neutral" "PACKAGEINFO${tab}raw${tab}neutral" \
    "PACKAGEOPTIONS${tab}raw${tab}neutral" "MAINICON${tab}icon${tab}0409" "1${tab}version${tab}0409" \
    "TIWKAVMOBILECOLORFORM${tab}raw${tab}neutral" | diff - "$work/resources" >"$work/diff" && pass ||
    { fail "package info resources:"; cat "$work/diff"; }
  grep -qx "resource${tab}TIWKAVMOBILECOLORFORM${tab}raw${tab}neutral${tab}$form_size" "$work/out" && pass ||
    fail "the form resource's size is not the form file's $form_size"
fi

# The example in docs/cli.md is the package's own output: its unit table's size too.
if run 0 package info; then
  documented=$(grep -P '^unit-table\t' "$(dirname "$0")/../../docs/cli.md")
  grep -qxF -- "$documented" "$work/out" && pass || fail "docs/cli.md shows '$documented', the package: $(grep unit-table "$work/out")"
fi

# Without the static symbol table the unit table's size cannot be known.
objcopy --strip-all "$fixture" "$work/stripped.bpl"
run 0 package info "$work/stripped.bpl" && { expected unknown | diff - <(head -n 19 "$work/out") >/dev/null && pass || fail "stripped: $(grep unit-table "$work/out")"; }

# Resources come out byte for byte: the description as UTF-16LE, terminated, padded.
if run 0 package resource "$fixture" DESCRIPTION; then
  { printf '%s' "$description" | iconv -f ASCII -t UTF-16LE; printf '\0\0\0\0'; } >"$work/want"
  cmp -s "$work/want" "$work/out" && pass || fail "DESCRIPTION differs from the text as UTF-16LE"
fi
run 0 package resource "$fixture" TIWKAVMOBILECOLORFORM && { cmp -s "$form" "$work/out" && pass || fail "the form resource differs from the form file"; }
# An icon file: reserved 0, type 1, five images.
run 0 package resource "$fixture" mainicon && {
  [ "$(od -An -tx1 -N6 "$work/out" | tr -d ' ')" = "000001000500" ] && pass || fail "MAINICON is no icon file of five images"
}

# Refusals: the file or the resource is missing or unreadable (1), or the command is
# wrong (2).
run 1 package info "$work/missing.bpl" && err_line "$work/missing.bpl" "No such file or directory"
run 1 package info "$form" && err_line "$form" "not an ELF file"
run 1 package info "$plain_library" && err_line "$plain_library" "no resource section .qellres"
head -c 3000 "$fixture" >"$work/truncated.bpl"
run 1 package info "$work/truncated.bpl" && err_line "truncated.bpl" "section header table"
run 1 package resource "$fixture" NOSUCH && err_line "$fixture" "no resource 'NOSUCH'"
[ -s "$work/out" ] && fail "a missing resource printed something" || pass
if [ -w /dev/full ]; then
  rc=0
  "$designer" package resource "$fixture" MAINICON >/dev/full 2>"$work/err" || rc=$?
  [ "$rc" -eq 1 ] && pass || fail "a failed write exits $rc, want 1"
  err_line "cannot write standard output"
fi
# Anything but a regular file is refused at once, by what it is: a FIFO without a
# writer hung the program.
mkfifo "$work/pipe.bpl"
for command in info check; do
  rc=0
  timeout 20 "$designer" package $command "$work/pipe.bpl" >"$work/out" 2>"$work/err" || rc=$?
  [ "$rc" -eq 1 ] && pass || fail "package $command on a FIFO exits $rc, want 1"
  err_line "pipe.bpl" "a FIFO, not a regular file"
done
run 0 new "$work/page.txt"
rc=0
timeout 20 "$designer" props "$work/page.txt" --package "$work/pipe.bpl" >"$work/out" 2>"$work/err" || rc=$?
[ "$rc" -eq 2 ] && pass || fail "props --package on a FIFO exits $rc, want 2"
err_line "cannot load package" "a FIFO, not a regular file"

# A package named without a folder is the file in the current one, the file checked,
# not one of the same name on the library path.
package=$(dirname "$designer")/../lib/qell/IW14QellDEDXE7.bpl
mkdir "$work/here" "$work/elsewhere"
cp "$package" "$work/here/good.bpl"
cp "$fixture" "$work/elsewhere/good.bpl" # no Initialize export: loading it fails
rc=0
(cd "$work/here" && LD_LIBRARY_PATH="$work/elsewhere" "$designer" package check good.bpl) >"$work/out" 2>"$work/err" || rc=$?
[ "$rc" -eq 0 ] && pass || fail "package check good.bpl exits $rc: $(cat "$work/err")"

# A large file that is no library costs the pages looked at, not its size (it was read
# whole twice: 533 MB at its peak).
truncate -s 256M "$work/large.bpl"
if [ -x /usr/bin/time ]; then
  rc=0
  /usr/bin/time -f %M -o "$work/peak" "$designer" package info "$work/large.bpl" >"$work/out" 2>"$work/err" || rc=$?
  [ "$rc" -eq 1 ] && pass || fail "package info on 256 MiB of zeros exits $rc, want 1"
  grep -q "not an ELF file" "$work/err" && pass || fail "package info on 256 MiB of zeros: $(cat "$work/err")"
  peak=$(tail -n 1 "$work/peak")
  [ "$peak" -lt 200000 ] && pass || fail "package info on 256 MiB peaks at $peak KiB"
else
  echo "SKIP the peak memory of package info: no /usr/bin/time"
fi

run 2 package
run 2 package resource "$fixture"
run 2 package list "$fixture"

finish
