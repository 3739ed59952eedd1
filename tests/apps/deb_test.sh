#!/usr/bin/env bash
# usage: deb_test.sh QELL_DESIGNER
# The Debian package of the build (cpack -G DEB): its control fields (the libraries it
# needs, found by dpkg-shlibdeps, the maintainer, a description) and its files, and the
# program it holds run from the unpacked tree. CI installs it for real (.ci/run).
set -uo pipefail
designer=$1
build=$(cd "$(dirname "$designer")/.." && pwd)
. "$(dirname "$0")/../support/cli_checks.sh"

(cd "$build" && cpack -G DEB -B "$work/out-deb") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; finish; exit 1; }
deb=$(ls "$work"/out-deb/qell-designer_*.deb)
expect "one package" [ -f "$deb" ]

field() { dpkg-deb -f "$deb" "$1"; }
expect "package name" [ "$(field Package)" = qell-designer ]
expect "version" [ "$(field Version)" = 1.0.0 ]
expect "maintainer" grep -qE '^.+ <.+@.+>$' <(field Maintainer)
expect "a description with a summary and a body" [ "$(field Description | wc -l)" -ge 3 ]
field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' >"$work/depends"
for library in libsdl2-2.0-0 libfreetype6 libfontconfig1 libpng16-16 libstdc++6 libc6 fonts-dejavu-core; do
  expect "depends on $library" grep -qxF "$library" "$work/depends"
done
expect "depends on nothing of its own" [ -z "$(grep qell "$work/depends")" ]

dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
for file in ./usr/bin/qell-designer ./usr/lib/qell/IW14QellDEDXE7.bpl ./usr/lib/qell/libqell_window.so \
    ./usr/share/applications/qell-designer.desktop ./usr/share/man/man1/qell-designer.1 \
    ./usr/share/mime/packages/qell-designer.xml ./usr/share/icons/hicolor/256x256/apps/qell-designer.png \
    ./usr/share/icons/hicolor/16x16/apps/qell-designer.png ./usr/share/doc/qell-designer/README.md; do
  expect "holds $file" grep -qxF "$file" "$work/files"
done
expect "holds nothing outside /usr" [ -z "$(grep -v '^\./usr/\|^\./$' "$work/files")" ]

dpkg-deb -x "$deb" "$work/root"
designer=$work/root/usr/bin/qell-designer
run 0 --version && expect "the unpacked program's version" grep -qx "IW14QellDEDXE7 1.0.0.0" "$work/out"
run 0 package check && expect "package check of the unpacked package" grep -q "nothing left behind" "$work/out"
finish
