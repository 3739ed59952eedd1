#!/usr/bin/env bash
# Regenerates the pictures of docs/accessibility.md with the designer itself: the sample
# page as drawn and as each colour-vision deficiency sees it. QELL_DESIGNER names a
# built designer to use; by default scripts/designer.sh builds one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
designer() {
  if [ -n "${QELL_DESIGNER:-}" ]; then "$QELL_DESIGNER" "$@"; else "$root/scripts/designer.sh" "$@"; fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
designer new "$work/page.txt"
for vision in none protanopia deuteranopia tritanopia achromatopsia; do
  designer preview "$work/page.txt" --simulate "$vision" --out "$root/docs/images/page-$vision.png"
  echo "docs/images/page-$vision.png"
done
# The designer with the contrast marks on (F7) and the button's text colour selected,
# its description line giving the ratio and the two fixes, the pointer resting on the
# button and its hint naming the failing pair.
printf 'key F7\npick ButtonOrder\ninspect Inspector Appearance.TextColor\nhover Preview 60 80\n' > "$work/marks.txt"
designer design "$work/page.txt" --script "$work/marks.txt" --snapshot "$root/docs/images/designer-contrast.png" >/dev/null
echo "docs/images/designer-contrast.png"
