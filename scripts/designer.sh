#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs the designer with
# the given arguments.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --target qell-designer -j"$(nproc)" >/dev/null
exec "$root/build/bin/qell-designer" "$@"
