#!/usr/bin/env bash
# Help > Examples... in the real window under a virtual X display: the examples are listed with the picture of
# their first screen, "Open a Copy" opens a copy in Result/ of the working directory (a second copy beside
# the first, never over it), and the shipped files stay as they were.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-examples "$@"
run="$scratch"

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"
shipped="$build/examples"
[ -f "$shipped/pump-station.ovm" ] && [ -f "$shipped/tank-level.ovm" ] || { echo "gui-examples: examples not built" >&2; exit 1; }
before="$(cat "$shipped"/*.ovm | sha256sum)"

printf '%s\n' \
  "menu Help/Examples..." \
  "wait-dialog Quillon : Examples" \
  "expect-rows examples|3" \
  "expect-row examples|pump-station" \
  "expect-row examples|boiler-house" \
  "choose examples|boiler-house" \
  "screenshot-dialog $run/boiler-house.png" \
  "choose examples|tank-level" \
  "screenshot-dialog $run/tank-level.png" \
  "choose examples|pump-station" \
  "button Open a Copy" \
  "expect-title Quillon - [$run/work/Result/pump-station.ovm]" \
  "menu Help/Examples..." \
  "wait-dialog Quillon : Examples" \
  "choose examples|pump-station" \
  "button Open a Copy" \
  "expect-title Quillon - [$run/work/Result/pump-station-2.ovm]" \
  "menu Help/Examples..." \
  "wait-dialog Quillon : Examples" \
  "button Close" \
  "quit" >"$run/script.txt"

timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --no-splash --script "$run/script.txt" >"$run/out" 2>"$run/err" || {
  cat "$run/out" "$run/err"
  echo "gui-examples: the script failed" >&2
  exit 1
}
steps=$(wc -l <"$run/script.txt")
[ "$(grep -c '^step ' "$run/out")" -eq "$steps" ] || { cat "$run/out"; echo "gui-examples: not every step ran" >&2; exit 1; }
cmp -s "$shipped/pump-station.ovm" "$run/work/Result/pump-station.ovm" || { echo "gui-examples: the copy differs" >&2; exit 1; }
[ -f "$run/work/Result/pump-station-2.ovm" ] || { echo "gui-examples: no second copy" >&2; exit 1; }
[ -s "$run/tank-level.png" ] || { echo "gui-examples: no picture of the dialog" >&2; exit 1; }
[ "$(cat "$shipped"/*.ovm | sha256sum)" = "$before" ] || { echo "gui-examples: a shipped example changed" >&2; exit 1; }
echo "gui-examples: the examples were listed and copies of them opened in Result/"
