#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing,
# with a progress line at every 5 percent of downloading and of installing.
set -euo pipefail
need=(g++ cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      libfreetype-dev libfontconfig-dev libharfbuzz-dev libfribidi-dev libicu-dev
      fonts-dejavu-core fonts-wqy-microhei fonts-noto-ui-core libpng-dev libsdl2-dev
      libmpfr-dev clang libclang-rt-14-dev xvfb xauth xdotool imagemagick libharfbuzz-bin)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
((${#missing[@]})) || exit 0
echo "Installing ${missing[*]} and the packages they need (a few minutes on a fresh machine)"
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -q
# apt's status lines (on descriptor 3) carry a percentage; its own chatter is dropped,
# its errors are not.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o APT::Status-Fd=3 -o Dpkg::Use-Pty=0 \
    "${missing[@]}" 3>&1 >/dev/null |
  awk -F: '$1 == "dlstatus" || $1 == "pmstatus" {
    step = int($3 / 5)
    if ($1 != phase || step != last) {
      what = $0
      sub(/^[^:]*:[^:]*:[^:]*:/, "", what)
      printf "  %s %3d%%  %s\n", ($1 == "dlstatus" ? "download" : "install "), $3, what
      fflush()
      phase = $1
      last = step
    }
  }'
