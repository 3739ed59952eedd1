#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs the designer with
# the given arguments.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The build speaks only when it fails.
if ! { cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$root/build" --target qell-designer -j"$(nproc)"; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
"$root/build/bin/qell-designer" "$@"
