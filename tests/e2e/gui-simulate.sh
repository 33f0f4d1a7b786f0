#!/usr/bin/env bash
# Runs the scenario application in the Simulate window of the real tool under a virtual X display: the
# start screen, a keypad key that changes screens, a touch on the display, a tag changed in the tag table,
# pause and a one-scan step; the window's picture is kept beside the build for review.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-simulate "$@"
run="$scratch"


bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

"$cli" --workdir "$run/work" new --model 500 "$run/new.ovm" >/dev/null
"$cli" --workdir "$run/work" export "$run/new.ovm" "$run/new.json"
python3 "$src/tests/data/sim/plant.py" "$run/new.json" "$run/plant.json"
saved="$run/work/Result/plant.ovm"
"$cli" --workdir "$run/work" import "$run/plant.json" "$saved" >/dev/null
shot="$build/gui-simulate.png"
rm -f "$shot"

# Power-on shows screen 1 with Level 5; key 9 goes to screen 2 (Level 100); a touch on its touch area turns
# the lamp on; Count set in the table; paused, a step is one scan.
printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $saved" \
  "menu Utilities/Simulate..." \
  "wait-dialog Quillon : Simulate" \
  "sim-expect-screen 1" \
  "sim-expect Level|5" \
  "sim-key 9" \
  "sim-expect-screen 2" \
  "sim-expect Level|100" \
  "sim-expect Lamp|0" \
  "sim-touch 70 40" \
  "sim-expect Lamp|1" \
  "sim-set Big|0x12345678" \
  "sim-expect Big|305419896" \
  "sim-set Level|lots" \
  "sim-expect Level|100" \
  "choose simulatorSpeed|10 x" \
  "button Pause" \
  "button Step" \
  "screenshot-dialog $shot" \
  "button Close" \
  "quit" >"$run/script.txt"

out=$(timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --no-splash --script "$run/script.txt" 2>"$run/stderr.txt") || {
  echo "$out"
  echo "gui-simulate: the scripted session failed" >&2
  cat "$run/stderr.txt" >&2
  exit 1
}
echo "$out"
[ -s "$shot" ] || { echo "gui-simulate: no picture of the window" >&2; exit 1; }
echo "gui-simulate: all checks passed"
