#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs the designer with
# the given arguments.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" >&2
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The build the tests check (gcc 12 at -O3 warns falsely of string copies). It shows
# its percentage lines on standard error, which keeps standard output for the
# designer's own; the whole log only when it fails.
if ! { cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
       cmake --build "$root/build" --target qell-designer -j"$(nproc)"; } 2>&1 |
     tee "$log" | { grep --line-buffered -E '^\[ *[0-9]+%\] Building' || true; } >&2; then
  cat "$log" >&2
  exit 1
fi
"$root/build/bin/qell-designer" "$@"
