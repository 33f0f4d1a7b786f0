#!/usr/bin/env bash
# Builds a small plant application through the real window alone under a virtual X display, as a user builds
# it on a new VQ5K-822: a Modbus node and four tags, two screens, a data entry with typed limits, a display of
# PLC data, a bar graph, power-on and screen tasks, a global key and a screen key, a discrete alarm and the
# logger. A second session reopens every dialog used on what was made, reads back the values typed and leaves
# each with OK (the object dialogs also with Cancel): the file saved after it must be the first byte for byte,
# but for the time of the save. Then `quillon-cli export` of the file is compared, field by field, with the
# values typed below.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-plant "$@"
run="$scratch"

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

saved="$run/work/Result/plant.ovm"
modbus='[ 001 : Tanks ]  Modbus RTU Master  ( Standard addressing 0xxxx-4xxxx )'

# play N ARGS...: plays $run/scriptN.txt in the window started with ARGS.
play() {
  local n=$1 out
  shift
  out=$(timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" --no-splash "$@" --script "$run/script$n.txt" 2>"$run/stderr$n.txt") || {
    echo "$out"
    echo "gui-plant: scripted session $n failed" >&2
    cat "$run/stderr$n.txt" >&2
    exit 1
  }
}

# ---- Session 1: the application built through the dialogs, then saved ----
cat >"$run/script1.txt" <<STEPS
# The network: the unit and a Modbus node "Tanks"; the unit's words and the node's holding registers.
menu Define/Network Configuration...
wait-dialog Quillon : Network Configuration
button Add a node
set Node Address|1
set Node Name|Tanks
button Ok
expect-row nodes|001\tTanks\tModbus RTU Master  ( Standard addressing 0xxxx-4xxxx )\t00000
button Close
menu Define/Tag database...
wait-dialog Quillon : Tags
choose Node|[ 000 : Operator Panel ]  VQ5K-unit
set part1Edit|001
set Tag-Name|Setpoint
button Add
set part1Edit|002
set Tag-Name|AlarmWord
button Add
choose Node|$modbus
choose Tag Range|Holding registers (4x)
set part1Edit|0001
set Tag-Name|Level
button Add
choose Tag Range|Holding registers (4x)
set part1Edit|0002
set Tag-Name|Flow
button Add
expect-rows tags|4
button Close
menu Define/Screens...
wait-dialog Quillon : New Screen
set Screen Number|1
set Screen Name|Overview
button OK
# A data entry of the unit's set point, limited to 10 .. 1000.
menu Objects/Alpha-numeric Objects/Data Entry
canvas-click 0 0
wait-dialog Quillon : Data Entry
check Register
choose tag|Setpoint ( UW001 )
choose format|####
set Low-limit|10
set High-limit|1000
button OK
# The tank level shown from the PLC with one decimal.
menu Objects/Alpha-numeric Objects/Display PLC Data
canvas-click 0 24
wait-dialog Quillon : Display Quillon or PLC data
check Register Value
choose tag|Level ( 40001 )
choose format|###.#
button OK
# The flow from the PLC as a bar rising from 0 to 500.
menu Objects/Graphic Objects/Bargraph
canvas-click 80 4
wait-dialog Quillon : Bar Graph
choose tag|Flow ( 40002 )
set Min|0
set Max|500
check Bottom to Top
button OK
# The second screen, a title on it, its While-showing tasks and a screen key back.
menu Screen/New...
wait-dialog Quillon : New Screen
set Screen Number|2
set Screen Name|Tanks
button OK
menu Objects/Alpha-numeric Objects/Text
canvas-click 0 0
canvas-type Tank farm
canvas-click 120 60
menu Screen/Task-lists of Screen...
wait-dialog Quillon : Task-lists of Screen [ 2 : Tanks ]
button 'While showing' Tasks
task-choose Delay
wait-dialog Quillon : Delay
type 30
key Return
task-choose Goto Screen
wait-dialog Goto Screen
choose screens|00001     Overview
button OK
task-lines 1 Delay of 30 Second(s) | Goto Screen of number : 00001
button Close
menu Screen/Keys for Screen...
wait-dialog Quillon : Task-lists of Keys for Screen [ 2 : Tanks ]
keypad-key 10
task-choose Goto Previous Screen
task-lines 0 Goto Previous Screen
button Close
menu Screen/Close Screens session
# Power-on: the overview, then the tanks after it is shown; global key 9: the tanks.
menu Define/Application Tasklists...
wait-dialog Quillon : Application ( Power-on and Global ) Task-lists
task-lines 0 Goto Screen of number : 00001
task-choose Goto Screen
wait-dialog Goto Screen
choose screens|00002     Tanks
button OK
task-lines 0 Goto Screen of number : 00001 | Goto Screen of number : 00002
button Close
menu Define/Application Keys...
wait-dialog Quillon : Global Keys' Task-lists
keypad-key 9
task-choose Goto Screen
wait-dialog Goto Screen
choose screens|00002     Tanks
button OK
task-lines 0 Goto Screen of number : 00002
button Close
# One discrete alarm watched through the unit's alarm word.
menu Define/Alarms...
wait-dialog Quillon : Alarms
button Add
type Tank 1 high
alarm-choose groupTag AlarmWord ( UW002 )
button Accept
alarm-lines 000\tN\tTank 1 high
button Ok
# The logger: level and flow every 5 minutes.
menu Define/Logger...
wait-dialog Quillon : Logger
logger-choose definedTags Level ( 40001 )
button <- Add
logger-choose definedTags Flow ( 40002 )
button <- Add
logger-lines loggedTags Level ( 40001 ) | Flow ( 40002 )
set Frequency|5
button Minutes
button Close
menu File/Save
wait-dialog Save Quillon Application
file $saved
quit
STEPS
play 1 --new 500
"$cli" check "$saved"
cp "$saved" "$run/first.ovm"
"$cli" export "$saved" "$run/first.json" >/dev/null

# ---- Session 2: every dialog used reopened on what it made, read back, and left with OK unchanged; the title
# then marks no unsaved change ----
cat >"$run/script2.txt" <<STEPS
menu File/Open...
wait-dialog Open Quillon Application
file $saved
expect-title @TITLE@
menu Define/Network Configuration...
wait-dialog Quillon : Network Configuration
expect-rows nodes|2
expect-row nodes|Tanks
button Close
menu Define/Tag database...
wait-dialog Quillon : Tags
expect-rows tags|4
choose tags|Setpoint
expect Tag-Name|Setpoint
expect part1Edit|001
button Change
choose tags|Level
expect Tag-Name|Level
expect part1Edit|0001
button Change
expect-rows tags|4
button Close
menu Define/Screens...
menu Screen/Screen Information...
wait-dialog Quillon : Screen Information
expect Screen Number|1
expect Screen Name|Overview
button OK
canvas-double-click 4 2
wait-dialog Quillon : Data Entry
expect tag|Setpoint ( UW001 )
expect dataType|Unsigned integer
expect format|####
expect Low-limit|10
expect High-limit|1000
button OK
canvas-double-click 4 26
wait-dialog Quillon : Display Quillon or PLC data
expect tag|Level ( 40001 )
expect format|###.#
button OK
canvas-double-click 90 30
wait-dialog Quillon : Bar Graph
expect tag|Flow ( 40002 )
expect Min|0
expect Max|500
button OK
# Cancel leaves them as they are too.
canvas-double-click 4 2
wait-dialog Quillon : Data Entry
expect High-limit|1000
button Cancel
canvas-double-click 4 26
wait-dialog Quillon : Display Quillon or PLC data
button Cancel
canvas-double-click 90 30
wait-dialog Quillon : Bar Graph
button Cancel
menu Screen/Select Screen ...
wait-dialog Quillon : Select Screen
choose screens|00002     Tanks
button OK
menu Screen/Screen Information...
wait-dialog Quillon : Screen Information
expect Screen Number|2
expect Screen Name|Tanks
button OK
menu Screen/Task-lists of Screen...
wait-dialog Quillon : Task-lists of Screen [ 2 : Tanks ]
task-lines 1 Delay of 30 Second(s) | Goto Screen of number : 00001
task-edit 1 0
wait-dialog Quillon : Delay
expect amount|30
button OK
task-edit 1 1
wait-dialog Goto Screen
expect-current screens|00001     Overview
button OK
task-lines 1 Delay of 30 Second(s) | Goto Screen of number : 00001
button Close
menu Screen/Keys for Screen...
wait-dialog Quillon : Task-lists of Keys for Screen [ 2 : Tanks ]
keypad-key 10
task-lines 0 Goto Previous Screen
button Close
menu Screen/Close Screens session
menu Define/Application Tasklists...
wait-dialog Quillon : Application ( Power-on and Global ) Task-lists
task-lines 0 Goto Screen of number : 00001 | Goto Screen of number : 00002
task-edit 0 0
wait-dialog Goto Screen
expect-current screens|00001     Overview
button OK
task-edit 0 1
wait-dialog Goto Screen
expect-current screens|00002     Tanks
button OK
task-lines 0 Goto Screen of number : 00001 | Goto Screen of number : 00002
button Close
menu Define/Application Keys...
wait-dialog Quillon : Global Keys' Task-lists
keypad-key 9
task-lines 0 Goto Screen of number : 00002
task-edit 0 0
wait-dialog Goto Screen
expect-current screens|00002     Tanks
button OK
task-lines 0 Goto Screen of number : 00002
button Close
menu Define/Alarms...
wait-dialog Quillon : Alarms
alarm-lines 000\tN\tTank 1 high
alarm-edit 0
expect groupTag|AlarmWord ( UW002 )
button Accept
alarm-lines 000\tN\tTank 1 high
button Ok
menu Define/Logger...
wait-dialog Quillon : Logger
logger-lines loggedTags Level ( 40001 ) | Flow ( 40002 )
expect Frequency|5
button Close
expect-title @TITLE@
menu File/Save
quit
STEPS
sed -i "s#@TITLE@#Quillon - [$saved]#" "$run/script2.txt"
play 2
"$cli" check "$saved"
# Byte for byte the same file, but for the time of the save (seven bytes: year, month, day, hour, minute,
# second), which every save writes; the dump of the file says where that field lies.
stamp=$("$cli" dump "$saved" | awk '/lastEdited year/ { print $1; exit }')
[ -n "$stamp" ] || { echo "gui-plant: the dump names no lastEdited field" >&2; exit 1; }
if ! python3 - "$run/first.ovm" "$saved" "$((16#$stamp))" <<'PY'
import sys
first, second, stamp = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read(), int(sys.argv[3])
if len(first) != len(second):
    print("gui-plant: the file is %d bytes after reopening, %d before" % (len(second), len(first)), file=sys.stderr)
    sys.exit(1)
moved = [i for i in range(len(first)) if first[i] != second[i] and not stamp <= i < stamp + 7]
if moved:
    print("gui-plant: bytes changed at offsets %s" % ", ".join("0x%X" % i for i in moved[:20]), file=sys.stderr)
    sys.exit(1)
PY
then
  "$cli" diff "$run/first.ovm" "$saved" >&2 || true
  echo "gui-plant: reopening every dialog and pressing OK changed the file" >&2
  exit 1
fi
"$cli" diff "$run/first.ovm" "$saved" >/dev/null || {
  echo "gui-plant: quillon-cli diff finds the file changed by the second session" >&2
  exit 1
}

# The saved application against the values typed in the first session, field by field.
"$cli" export "$saved" "$run/plant.json" >/dev/null
python3 - "$run/plant.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
failures = []
def same(field, got, want):
    if got != want:
        failures.append("%s is %r, typed %r" % (field, got, want))
def tag(t):
    return None if t is None else (t["node"], t["address"], t["bytes"])
def tasks(lst):
    return [(t["kind"], t["subKind"], t["parameter"], t["value"]) for t in lst]
def lists(d):
    return {k: tasks(v) for k, v in d.items()}

same("nodes", [(n["number"], n["kind"], n["name"]) for n in doc["nodes"]],
     [(0, "unit", "Operator Panel"), (1, "plc", "Tanks")])
same("tags", sorted((n["number"], t["address"], t["type"], t.get("bytes"), t["name"])
                    for n in doc["nodes"] for b in n["blocks"] for t in b["tags"]),
     [(0, "UW001", "register", 2, "Setpoint"), (0, "UW002", "register", 2, "AlarmWord"),
      (1, "40001", "register", 2, "Level"), (1, "40002", "register", 2, "Flow")])
screens = {s["number"]: s for s in doc["screens"]}
same("screen numbers", sorted(screens), [1, 2])
same("screen 1 name", screens.get(1, {}).get("name"), "Overview")
same("screen 2 name", screens.get(2, {}).get("name"), "Tanks")
objects = screens.get(1, {}).get("objects", [])
same("screen 1 object kinds", [o["kind"] for o in objects], ["dataEntryRegister", "displayRegister", "bargraph"])
if len(objects) == 3:
    entry, shown, bar = objects
    # The data entry of Setpoint (UW001, 2 bytes) clicked at (0, 0): unsigned, four digits ("####", four cells
    # of six pixels), limits 10 and 1000.
    same("data entry place", (entry["left"], entry["top"], entry["right"], entry["bottom"]), (0, 0, 23, 7))
    same("data entry tag", tag(entry["tag"]), (0, "UW001", 2))
    same("data entry data type", entry["format"]["dataType"], "U")
    same("data entry format (digits, decimals)", entry["format"]["code"], "40")
    same("data entry operations", (entry["format"]["first"]["operation"], entry["format"]["second"]["operation"]),
         (0, 0))
    same("data entry low limit", entry["lowLimit"], 10)
    same("data entry high limit", entry["highLimit"], 1000)
    # The register value of Level (node 1, 40001) clicked at (0, 24) as "###.#": four digits, one decimal,
    # five cells.
    same("display place", (shown["left"], shown["top"], shown["right"], shown["bottom"]), (0, 24, 29, 31))
    same("display tag", tag(shown["tag"]), (1, "40001", 2))
    same("display data type", shown["format"]["dataType"], "U")
    same("display format (digits, decimals)", shown["format"]["code"], "41")
    same("display leading zeros blank", shown["leadingZerosBlank"], False)
    # The bar graph of Flow (node 1, 40002) clicked at (80, 4), 0 .. 500, third direction (Bottom to Top).
    same("bar graph place", (bar["left"], bar["top"]), (80, 4))
    same("bar graph tag", tag(bar["tag"]), (1, "40002", 2))
    same("bar graph minimum", bar["minimum"], 0)
    same("bar graph maximum", bar["maximum"], 500)
    same("bar graph direction", bar["direction"], 2)
same("screen 1 tasks", lists(screens.get(1, {}).get("tasks", {})),
     {"beforeShowing": [], "whileShowing": [], "afterHiding": []})
same("screen 1 keys", screens.get(1, {}).get("keys"), [])
texts = [(o["kind"], o["left"], o["top"], o.get("text")) for o in screens.get(2, {}).get("objects", [])]
same("screen 2 objects", texts, [("text", 0, 0, "Tank farm")])
# While showing the tanks: a delay of 30 seconds (unit 1), then the overview.
same("screen 2 tasks", lists(screens.get(2, {}).get("tasks", {})),
     {"beforeShowing": [], "whileShowing": [("delay", 0, 1, 30), ("gotoScreen", 0, 0, 1)], "afterHiding": []})
keys = screens.get(2, {}).get("keys", [])
same("screen 2 keys", [(k["key"], k["secondKey"], k["interrupt"], k["password"]) for k in keys], [(10, 0, 0, 0)])
if keys:
    # Goto Previous Screen is the Goto Screen task of sub-kind 2.
    same("screen 2 key 10 tasks", lists(keys[0]["tasks"]),
         {"press": [("gotoScreen", 2, 0, 0)], "pressed": [], "released": []})
same("power-on tasks", tasks(doc["powerOnTasks"]), [("gotoScreen", 0, 0, 1), ("gotoScreen", 0, 0, 2)])
same("global tasks", tasks(doc["globalTasks"]), [])
# A new VQ5K-822 application gives keys 5 to 8 and 13 to 22 their key functions; key 9 was added.
gkeys = {k["key"]: k for k in doc["globalKeys"]}
same("global keys", sorted(gkeys), [5, 6, 7, 8, 9] + list(range(13, 23)))
if 9 in gkeys:
    k = gkeys[9]
    same("global key 9", (k["secondKey"], k["interrupt"], k["password"], k["legend"]), (0, 0, 0, None))
    same("global key 9 tasks", lists(k["tasks"]), {"press": [("gotoScreen", 0, 0, 2)], "pressed": [], "released": []})
alarms = doc["alarms"] or {}
same("alarm tag mode (discrete)", alarms.get("tagMode"), 1)
same("alarm group tags", [(g["group"], tag(g["tag"])) for g in alarms.get("groups", [])], [(0, (0, "UW002", 2))])
same("alarm texts", [(t["alarm"], t["options"], t["text"]) for t in alarms.get("texts", [])],
     [(0, 0, "Tank 1 high")])
logger = doc["logger"] or {}
same("logger tags", [tag(t) for t in logger.get("tags", [])], [(1, "40001", 2), (1, "40002", 2)])
same("logger frequency", logger.get("frequency"), 5)
same("logger frequency unit (minutes)", logger.get("frequencyUnit"), 1)
if failures:
    print("gui-plant: the saved application differs from what was typed:", file=sys.stderr)
    for failure in failures:
        print("  " + failure, file=sys.stderr)
    sys.exit(1)
PY
echo "gui-plant: ok"
