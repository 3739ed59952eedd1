#!/usr/bin/env bash
# usage: install_test.sh QELL_DESIGNER PNG_PROBE
# The installed tree works wherever it is moved: `cmake --install` into one folder, the
# tree moved to another, and the program run there with a bare environment, finding its
# libraries and its package beside itself and nothing of the build. Nothing installed
# names the build folder, the sources or the first prefix. The manual page's synopsis is
# the --help text and describes every option in it; the menu entry runs a real command
# and names the icons installed, which are the package's own, as PNG files.
set -uo pipefail
built=$1
probe=$2
build=$(cd "$(dirname "$built")/.." && pwd)
source=$(cd "$(dirname "$0")/../.." && pwd)
designer=$built
. "$(dirname "$0")/../support/cli_checks.sh"

cmake --install "$build" --prefix "$work/first" --strip >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail install; finish; exit 1; }
mv "$work/first" "$work/moved"
tree=$work/moved
designer=$tree/bin/qell-designer

for file in bin/qell-designer lib/qell/IW14QellDEDXE7.bpl lib/qell/libqell_rtl.so lib/qell/libqell_window.so \
    share/applications/qell-designer.desktop share/man/man1/qell-designer.1 \
    share/mime/packages/qell-designer.xml share/doc/qell-designer/README.md share/doc/qell-designer/docs/cli.md; do
  expect "installs $file" [ -f "$tree/$file" ]
done

# The package's icon at each of its sizes, as the package carries it.
for size in 16 24 32 48 256; do
  png=$tree/share/icons/hicolor/${size}x${size}/apps/qell-designer.png
  expect "icon $size is a PNG of its size" [ "$("$probe" "$png" 2>&1 | head -1)" = "$size $size" ]
done
"$built" package resource "$build/lib/qell/IW14QellDEDXE7.bpl" MAINICON >"$work/icon.ico"
expect "the 256-pixel icon is the package's own PNG, byte for byte" \
  grep -qF -f <(od -An -v -tx1 "$tree/share/icons/hicolor/256x256/apps/qell-designer.png" | tr -d ' \n') \
  <(od -An -v -tx1 "$work/icon.ico" | tr -d ' \n')

# Nothing names where it was built or first installed.
for path in "$build" "$source" "$work/first"; do
  expect "nothing installed names $path" [ -z "$(grep -rlF "$path" "$tree")" ]
done

# Run from the moved tree with no library path and an empty configuration folder.
bare=(env -i "HOME=$work/home" "PATH=/usr/bin:/bin" "LSAN_OPTIONS=${LSAN_OPTIONS:-}" "UBSAN_OPTIONS=${UBSAN_OPTIONS:-}"
      "ASAN_OPTIONS=${ASAN_OPTIONS:-}")
mkdir -p "$work/home" "$work/tour"
"${bare[@]}" LD_DEBUG=libs "$designer" --version >"$work/out" 2>"$work/libs"
expect "--version names the program and the package" \
  [ "$(cat "$work/out")" = "$(printf 'qell-designer 1.0.0\nIW14QellDEDXE7 1.0.0.0')" ]
expect "the libraries come from the moved tree" grep -qF "calling init: $tree/bin/../lib/qell/libqell_rtl.so" "$work/libs"
expect "nothing comes from the build" [ -z "$(grep -F "$build" "$work/libs")" ]
expect "package check in the moved tree" "${bare[@]}" "$designer" package check >/dev/null
expect "the headless tour in the moved tree" "${bare[@]}" "$designer" tour "$work/tour" >/dev/null
expect "the tour saved its page" [ -s "$work/tour/page.txt" ]
expect "packages list names the moved package" \
  grep -qF "$tree/lib/qell/IW14QellDEDXE7.bpl" <("${bare[@]}" "$designer" packages list)

# The manual page's synopsis is the --help text, line for line.
"$designer" --help | sed 's/^usage: //; s/^ *//' >"$work/help"
sed -n '/^\.SH SYNOPSIS/,/^\.fi/p' "$tree/share/man/man1/qell-designer.1" | sed '1,2d;$d' | sed 's/\\-/-/g' >"$work/synopsis"
expect "the manual's synopsis is the --help text" diff "$work/help" "$work/synopsis"
options=$("$designer" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
for option in $options -h; do
  escaped=${option//-/\\\\-}
  expect "the manual describes $option" grep -qE "^\.B[IR]? (.* )?$escaped([^a-z-]|$)" "$tree/share/man/man1/qell-designer.1"
done
if command -v groff >/dev/null; then
  expect "the manual page formats without warnings" \
    [ -z "$(groff -man -ww -z "$tree/share/man/man1/qell-designer.1" 2>&1)" ]
fi

# The menu entry runs a command the program has, on its icon.
entry=$tree/share/applications/qell-designer.desktop
command=$(sed -n 's/^Exec=qell-designer \([a-z]*\) %f$/\1/p' "$entry")
expect "the menu entry runs qell-designer with a command" [ -n "$command" ]
expect "which the program knows" "$designer" "$command" --help >/dev/null
expect "the menu entry's icon is installed" \
  [ -f "$tree/share/icons/hicolor/48x48/apps/$(sed -n 's/^Icon=//p' "$entry").png" ]
if command -v desktop-file-validate >/dev/null; then
  expect "the menu entry is valid" desktop-file-validate "$entry"
fi
if command -v xmllint >/dev/null; then
  expect "the page type is well-formed" xmllint --noout "$tree/share/mime/packages/qell-designer.xml"
fi
finish
