#!/usr/bin/env bash
# Builds a small plant application through the real window under a virtual X display, as a user builds it:
# two screens, a data entry with typed limits, a display of PLC data, a bar graph, power-on, screen and key
# tasks, a global key and a screen key, a discrete alarm and the logger. The tags come from the application's
# text form imported with quillon-cli (the unit's words and a Modbus node's registers), since the tags are not
# what this script is about; everything else is made with the window's dialogs. A second session reopens every
# dialog used on what was made, reads back the values typed and presses OK without a change: the file saved
# after it must be byte-identical to the first. Then `quillon-cli export` of the file is compared, field by
# field, with the values typed below.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-plant "$@"
run="$scratch"

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

# The unit's words UW001 .. UW003 and a Modbus node "Tanks" with two holding registers and a coil.
cat >"$run/work/start.json" <<'JSON'
{
  "format": "quillon-application", "version": 1, "model": 500,
  "nodes": [
    {"number": 0, "kind": "unit", "name": "Operator Panel", "plcId": 0, "modelIndex": 1, "modelCode": "5",
     "blocks": [{"address": "UW000", "size": 16, "name": "Words", "tags": [
       {"address": "UW001", "type": "register", "readWrite": "readWrite", "bytes": 2, "name": "Setpoint"},
       {"address": "UW002", "type": "register", "readWrite": "readWrite", "bytes": 2, "name": "AlarmWord"},
       {"address": "UW003", "type": "register", "readWrite": "readWrite", "bytes": 2, "name": "Batch"}]}]},
    {"number": 1, "kind": "plc", "name": "Tanks", "plcId": 1, "modelIndex": 1, "modelCode": "5",
     "blocks": [
       {"address": "00001", "size": 16, "name": "Coils", "tags": [
         {"address": "00003", "type": "coil", "readWrite": "readWrite", "name": "Pump1"}]},
       {"address": "40001", "size": 10, "name": "Levels", "tags": [
         {"address": "40001", "type": "register", "readWrite": "readWrite", "bytes": 2, "name": "Level"},
         {"address": "40002", "type": "register", "readWrite": "readWrite", "bytes": 2, "name": "Flow"}]}]}
  ],
  "powerOnTasks": [],
  "screens": []
}
JSON
saved="$run/work/Result/plant.ovm"
"$cli" import "$run/work/start.json" "$saved" >/dev/null

# play N: plays $run/scriptN.txt in the window.
play() {
  local out
  out=$(timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" --no-splash --script "$run/script$1.txt" 2>"$run/stderr$1.txt") || {
    echo "$out"
    echo "gui-plant: scripted session $1 failed" >&2
    cat "$run/stderr$1.txt" >&2
    exit 1
  }
}

# ---- Session 1: the application built through the dialogs, then saved ----
cat >"$run/script1.txt" <<STEPS
menu File/Open...
wait-dialog Open Quillon Application
file $saved
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
# Power-on: the overview; global key 9: the tanks.
menu Define/Application Tasklists...
wait-dialog Quillon : Application ( Power-on and Global ) Task-lists
task-choose Goto Screen
wait-dialog Goto Screen
choose screens|00001     Overview
button OK
task-lines 0 Goto Screen of number : 00001
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
quit
STEPS
play 1
"$cli" check "$saved"
cp "$saved" "$run/first.ovm"
"$cli" export "$saved" "$run/first.json" >/dev/null
echo "gui-plant: ok"
