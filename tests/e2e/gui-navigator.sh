#!/usr/bin/env bash
# The project navigator through the real window under a virtual X display, on an application generated for
# it from its text form (tests/data/navigator/plant.json: two nodes, two screens with static texts, an alarm,
# two global keys): the tree's counts are those quillon-cli info reports; a screen, a tag, an alarm and a key
# are opened from the tree, each in its editor on that item; a static text is searched and its object, which
# the search selects, is deleted; the tree follows both deletions; the saved file is checked with quillon-cli.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-navigator "$@"
run="$scratch"

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"
app="$run/work/Result/plant.ovm"
"$cli" import "$src/tests/data/navigator/plant.json" "$app"

# The counts the tree must show, from quillon-cli info.
info=$("$cli" info "$app")
count() { printf '%s\n' "$info" | awk -v k="$1" 'substr($0, 1, 24) ~ "^" k " *$" { print $NF }'; }
nodes=$(count Nodes); blocks=$(count Blocks); tags=$(count Tags); screens=$(count Screens)
keys=$(count "Global keys"); alarms=$(count Alarms); powerOn=$(count "Power-on tasks"); global=$(count "Global tasks")
for v in "$nodes" "$blocks" "$tags" "$screens" "$keys" "$alarms" "$powerOn" "$global"; do
  [ -n "$v" ] || { echo "gui-navigator: quillon-cli info lacks a count:" >&2; echo "$info" >&2; exit 1; }
done
plural() { [ "$1" = 1 ] && echo "$1 $2" || echo "$1 $2s"; }
network="Network ($(plural "$nodes" node), $(plural "$blocks" block), $(plural "$tags" tag))"

printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $app" \
  "nav-expect Network|$network" \
  "nav-expect Screens|Screens ($screens)" \
  "nav-expect Global keys|Global keys ($keys)" \
  "nav-expect Alarms|Alarms ($alarms)" \
  "nav-expect Task lists|Task lists ($((powerOn + global)))" \
  "nav-expect Network/Tanks/40001|40001 : 10 Levels  (3 tags)" \
  "nav-open Network/Tanks/40001/Tank2Level" \
  "wait-dialog Quillon : Tags" \
  "expect-current tags|Tank2Level" \
  "key Escape" \
  "nav-open Alarms/003" \
  "wait-dialog Quillon : Alarms" \
  "expect-current alarmList|003    N    Tank1 overflow" \
  "key Escape" \
  "nav-open Global keys/F2" \
  "wait-dialog Quillon : Global Keys' Task-lists" \
  "task-lines 0 Goto Screen of number : 00001" \
  "key Escape" \
  "nav-open Screens/1" \
  "shortcut Ctrl+A" \
  "canvas-key Delete" \
  "wait-dialog Quillon : Confirmation" \
  "button Yes" \
  "nav-expect Screens/1|1  Main  (Display, 0 objects)" \
  "nav-search Outlet valve" \
  "canvas-key Delete" \
  "wait-dialog Quillon : Confirmation" \
  "wait-text Delete Object ' Text ' ?" \
  "button Yes" \
  "nav-expect Screens/2|2  Tanks  (Display, 1 object)" \
  "nav-expect Screens|Screens ($screens)" \
  "nav-menu Screens|New Screen..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "nav-expect Screens|Screens ($((screens + 1)))" \
  "nav-menu Screens/3|Delete Screen" \
  "wait-dialog Quillon : Confirmation" \
  "button Yes" \
  "nav-expect Screens|Screens ($screens)" \
  "menu File/Save" \
  "quit" >"$run/script.txt"

out=$(timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --no-splash --script "$run/script.txt" 2>"$run/stderr.txt") || {
  echo "$out"
  echo "gui-navigator: the scripted session failed" >&2
  cat "$run/stderr.txt" >&2
  exit 1
}
echo "$out"
"$cli" check "$app"
"$cli" export "$app" "$run/after.json"
python3 - "$run/after.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
texts = {s["number"]: [o.get("text") for o in s["objects"] if o["kind"] == "text"] for s in doc["screens"]}
if texts != {1: [], 2: ["Tank farm"]}:
    print("gui-navigator: the static texts after the deletions: %s" % texts, file=sys.stderr)
    sys.exit(1)
PY
echo "gui-navigator: passed"
