#!/usr/bin/env bash
# The getting-started guide's script (docs/getting-started/guide.script) runs green in the window: every step
# of the page, from New to the download to an emulated unit, through scripts/getting-started.sh, which `make
# docs` uses to make the page's pictures. Each picture of the page is made again and must be there.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-getting-started "$@"
[ -x "$build/quillon-unitsim" ] || { echo "gui-getting-started: quillon-unitsim is not built" >&2; exit 1; }
bash "$src/scripts/getting-started.sh" "$build" "$scratch/pictures"
for picture in $(grep -o 'getting-started/[0-9a-z-]*\.png' "$src/docs/getting-started.md" | sort -u); do
  [ -s "$scratch/pictures/${picture#getting-started/}" ] || { echo "gui-getting-started: $picture was not made" >&2; exit 1; }
  [ -f "$src/docs/$picture" ] || { echo "gui-getting-started: docs/$picture is not in the repository" >&2; exit 1; }
done
echo "gui-getting-started: the guide's script ran green and made every picture of the page"
