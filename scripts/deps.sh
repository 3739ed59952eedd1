#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing.
set -euo pipefail
need=(g++ cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev libsdl2-dev
      libmpfr-dev clang libclang-rt-14-dev xvfb xauth xdotool imagemagick)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
