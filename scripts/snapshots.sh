#!/usr/bin/env bash
# Regenerates the pictures in docs/images/ with the designer itself, headless, from
# the scripts beside this file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Built first: a failed build exits 1 as well, which below means the dialog was cancelled.
"$root/scripts/designer.sh" --version >/dev/null
for page in web system custom; do
  status=0
  "$root/scripts/designer.sh" dialog --identifier Teal --script "$root/scripts/snapshots/$page.txt" \
      --snapshot "$root/docs/images/dialog-$page.png" >/dev/null || status=$?
  # The scripts end with the dialog open, which cancels it (exit 1).
  [ "$status" -eq 1 ] || { echo "snapshot of the $page page failed (exit $status)" >&2; exit 1; }
  echo "docs/images/dialog-$page.png"
done
"$root/scripts/designer.sh" design --script "$root/scripts/snapshots/designer.txt" \
    --snapshot "$root/docs/images/designer.png" >/dev/null
echo "docs/images/designer.png"
