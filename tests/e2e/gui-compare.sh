#!/usr/bin/env bash
# File > Compare With... in the real window under a virtual X display: the open application against a second
# file, the differences listed, and a screen's line opening both screens side by side.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-compare "$@"
run="$scratch"

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

cat >"$run/first.json" <<'JSON'
{"format": "quillon-application", "version": 1, "model": 500,
 "screens": [{"number": 1, "name": "Main", "objects": [
   {"kind": "text", "left": 0, "top": 0, "right": 59, "bottom": 15, "text": "Pump 1"},
   {"kind": "rectangle", "left": 70, "top": 10, "right": 99, "bottom": 29}]}]}
JSON
sed -e 's/"Main"/"Start"/' -e 's/"top": 10, "right": 99, "bottom": 29/"top": 40, "right": 99, "bottom": 59/' \
  "$run/first.json" >"$run/second.json"
first="$run/work/Result/first.ovm"
second="$run/work/Result/second.ovm"
"$cli" import "$run/first.json" "$first" >/dev/null
"$cli" import "$run/second.json" "$second" >/dev/null

printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $first" \
  "menu File/Compare With..." \
  "wait-dialog Compare With" \
  "file $second" \
  "wait-dialog Quillon : Compare With second.ovm" \
  "expect-rows differences|4" \
  "expect-row differences|    screen 1 \"Main\": Screen Name: Main -> Start" \
  "expect-row differences|    screen 1 \"Main\": Rectangle at (70,10)-(99,29): moved to (70,40)-(99,59)" \
  "double-click differences|    screen 1 \"Main\": Rectangle at (70,10)-(99,29): moved to (70,40)-(99,59)" \
  "wait-dialog Quillon : Screen 1 compared" \
  "screenshot-dialog $run/pair.png" \
  "button Close" \
  "wait-dialog Quillon : Compare With second.ovm" \
  "button Close" \
  "quit" \
  "wait-dialog Quillon : Confirmation" \
  "button No" >"$run/script.txt"

timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --no-splash --script "$run/script.txt" >"$run/out" 2>"$run/err" || {
  cat "$run/out" "$run/err"
  echo "gui-compare: the script failed" >&2
  exit 1
}
steps=$(wc -l <"$run/script.txt")
[ "$(grep -c '^step ' "$run/out")" -eq "$steps" ] || { cat "$run/out" "$run/err"; echo "gui-compare: not every step ran" >&2; exit 1; }
[ -s "$run/pair.png" ] || { echo "gui-compare: no picture of the two screens" >&2; exit 1; }
echo "gui-compare: the differences were listed and the screen shown side by side"
