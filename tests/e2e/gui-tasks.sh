#!/usr/bin/env bash
# Builds task lists through the real window alone under a virtual X display: a Power-on list, a global
# key on a two-key combination, and a screen's While-showing list; refusals are answered as a user does.
# The saved application is then checked with quillon-cli and its text form is searched for the tasks.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-tasks "$@"
run="$scratch"


bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

saved="$run/work/Result/tasks.ovm"
shot="$build/gui-tasks-keys.png"
rm -f "$shot"
# The first model offered is the VQ5K-252: keys 1 to 6, key 4 chosen when the keys dialog opens.
printf '%s\n' \
  "menu File/New..." \
  "wait-dialog Quillon : New Application" \
  "key Return" \
  "menu Define/Application Tasklists..." \
  "wait-dialog Quillon : Application ( Power-on and Global ) Task-lists" \
  "task-choose Goto Next Screen" \
  "task-lines 0 Goto Screen of number : 00001 | Goto Next Screen" \
  "task-choose Delay" \
  "wait-dialog Quillon : Information" \
  'wait-text Delay Task is not supported as Power On Task.\nDelay Task can be used  as Screen While Showing Task only.' \
  "key Return" \
  "task-choose Print Data" \
  "task-lines 0 Goto Screen of number : 00001 | Goto Next Screen | Print Data" \
  "task-edit 0 2" \
  "task-lines 0 Goto Screen of number : 00001 | Goto Next Screen | Print Data" \
  "key Escape" \
  "menu Define/Application Keys..." \
  "wait-dialog Quillon : Global Keys' Task-lists" \
  "button Two simultaneous keys" \
  "keypad-key 2" \
  "task-choose Goto Previous Screen" \
  "task-lines 0 Goto Previous Screen" \
  "button 'Released' Tasks" \
  "task-choose KEYs' specific Tasks" \
  "wait-dialog Quillon : KEYs' specific tasks" \
  "button Numeric Key 7" \
  "key Return" \
  "task-lines 2 Numeric Key 7" \
  "key Escape" \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "menu Screen/Task-lists of Screen..." \
  "wait-dialog Quillon : Task-lists of Screen [ 1 : Screen1 ]" \
  "button 'While showing' Tasks" \
  "task-choose Delay" \
  "wait-dialog Quillon : Delay" \
  "type 0" \
  "button OK" \
  "wait-dialog Quillon : Error" \
  "wait-text Invalid Entry." \
  "key Return" \
  "wait-dialog Quillon : Delay" \
  "type 25" \
  "key Return" \
  "task-lines 1 Delay of 25 Second(s)" \
  "task-choose Delay" \
  "wait-dialog Quillon : Information" \
  "wait-text More than one delay task is not supported." \
  "key Return" \
  "task-choose Goto Screen" \
  "wait-dialog Goto Screen" \
  "key Return" \
  "task-lines 1 Delay of 25 Second(s) | Goto Screen of number : 00001" \
  "task-edit 1 0" \
  "wait-dialog Quillon : Delay" \
  "button Minute" \
  "key Return" \
  "task-lines 1 Delay of 25 Minute(s) | Goto Screen of number : 00001" \
  "key Escape" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "wait-dialog Save Quillon Application" \
  "file $saved" \
  "menu Define/Application Keys..." \
  "wait-dialog Quillon : Global Keys' Task-lists" \
  "key Escape" \
  "screenshot $shot" \
  "quit" \
  "button No" >"$run/script.txt"
out=$(timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --script "$run/script.txt" 2>"$run/stderr.txt") || {
  echo "$out"
  echo "gui-tasks: the scripted session failed" >&2
  cat "$run/stderr.txt" >&2
  exit 1
}
echo "$out"
[ -s "$saved" ] || { echo "gui-tasks: nothing saved at $saved" >&2; exit 1; }

"$cli" check "$saved"
"$cli" export "$saved" "$run/tasks.json"
# What the window built is in the file: the kinds and operands of every list.
python3 - "$run/tasks.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
def fail(message):
    print("gui-tasks: " + message, file=sys.stderr)
    sys.exit(1)
def brief(tasks):
    return [(t["kind"], t["subKind"], t["parameter"], t["value"]) for t in tasks]
if brief(doc["powerOnTasks"]) != [("gotoScreen", 0, 0, 1), ("gotoScreen", 1, 0, 0), ("printData", 0, 0, 0)]:
    fail("power-on list: %s" % brief(doc["powerOnTasks"]))
combos = [k for k in doc["globalKeys"] if k["key"] == 4 and k["secondKey"] == 2]
if len(combos) != 1:
    fail("no global key on keys 4 and 2: %s" % [(k["key"], k["secondKey"]) for k in doc["globalKeys"]])
tasks = combos[0]["tasks"]
if brief(tasks["press"]) != [("gotoScreen", 2, 0, 0)] or brief(tasks["released"]) != [("keyFunction", 20, 0, 0)]:
    fail("key 4 + 2: %s" % tasks)
while_showing = brief(doc["screens"][0]["tasks"]["whileShowing"])
if while_showing != [("delay", 0, 2, 25), ("gotoScreen", 0, 0, 1)]:
    fail("while showing: %s" % while_showing)
print("gui-tasks: the saved application holds every task built in the window")
PY
echo "gui-tasks: ok, screenshot in $shot"
