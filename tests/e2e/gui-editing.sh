#!/usr/bin/env bash
# Edits a screen through the real window alone under a virtual X display, as a user would: objects drawn
# with the mouse, then turned, aligned, grouped, copied, pasted, cut, deleted, sent back, coloured, set
# flashing and typed in another font, through the Tools and Objects menus, the tool-bar buttons and boxes,
# the accelerators, the right-button menus and the Delete key, with undo and redo between. The saved file
# must pass `quillon-cli check` and hold exactly the objects worked out by hand below. A second run copies
# objects with tags and a touch area's tasks from one application, opens another and pastes them there:
# the tag the second application lacks is refused by name, the rest arrive with that application's tags.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-editing "$@"
top="$scratch"



# play RUN ARGS...: plays $RUN/script.txt in the window started with ARGS in the run's working folder.
play() {
  local run=$1
  shift
  local out
  out=$(cd "$run/work" && timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" "$@" --script "$run/script.txt" 2>"$run/stderr.txt") || {
    echo "$out"
    echo "gui-editing: the scripted session failed" >&2
    cat "$run/stderr.txt" >&2
    exit 1
  }
}

# ---- One screen of a graphic unit (128 x 64), edited every way ----
run="$top/graphic"
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
saved="$run/work/Result/editing.ovm"
printf '%s\n' \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "expect-menu Tools/Paste|disabled" \
  "menu Objects/Graphic Objects/Rectangle" \
  "canvas-drag 4 4 24 14" \
  "menu Objects/Graphic Objects/Ellipse" \
  "canvas-drag 40 10 60 30" \
  "menu Objects/Graphic Objects/Rectangle" \
  "canvas-drag 80 30 100 40" \
  "expect-menu Tools/Group|disabled" \
  "tool-button Right Rotate" \
  "shortcut Ctrl+A" \
  "expect-menu Tools/Right Rotate|disabled" \
  "expect-menu Tools/Ungroup|disabled" \
  "menu Tools/Top Alignemnt" \
  "menu Tools/Group" \
  "expect-menu Tools/Group|disabled" \
  "expect-menu Tools/Ungroup|enabled" \
  "shortcut Ctrl+Z" \
  "expect-menu Tools/Group|enabled" \
  "menu Tools/Redo" \
  "expect-menu Tools/Ungroup|enabled" \
  "shortcut Ctrl+C" \
  "canvas-right-click 70 55" \
  "canvas-menu Paste Object(s)" \
  "tool-button Ungroup" \
  "shortcut Ctrl+X" \
  "shortcut Ctrl+V" \
  "canvas-click 2 2" \
  "canvas-key Delete" \
  "wait-dialog Quillon : Confirmation" \
  "wait-text Delete Object ' Rectangle ' ?" \
  "button Yes" \
  "canvas-click 38 1" \
  "canvas-right-click 38 1" \
  "canvas-menu Send Back" \
  "menu Objects/Color/Fill ..." \
  "wait-dialog Fill" \
  "button 60" \
  "menu Objects/Flash" \
  "expect-menu Objects/Flash|checked" \
  "tool-choose speed|Fast" \
  "menu Objects/Alpha-numeric Objects/Text" \
  "canvas-click 24 40" \
  "canvas-type Hi" \
  "canvas-click 120 60" \
  "canvas-click 26 41" \
  "tool-choose fontSize|10 x 14" \
  "menu Objects/Border/Double" \
  "expect-menu Objects/Border/Double|checked" \
  "tool-button Undo" \
  "expect-menu Objects/Border/Double|unchecked" \
  "tool-button Redo" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "wait-dialog Save Quillon Application" \
  "file $saved" \
  "quit" >"$run/script.txt"
play "$run" --new 500
"$cli" check "$saved"
"$cli" export "$saved" "$run/editing.json"
python3 - "$run/editing.json" <<'PY'
import json, sys
screen = json.load(open(sys.argv[1]))["screens"][0]
got = [(o["kind"], o["left"], o["top"], o["right"], o["bottom"], o["zLevel"], o["colourA"], o["flash"],
        o["font"], o["border"]) for o in screen["objects"]]
# Worked out by hand: the second rectangle turned about (90, 35) to 85..95 x 25..45; the three aligned
# with the top of the first (4); grouped; a copy pasted at the top-left corner (relative to (4, 4)), its
# group undone, cut and pasted back in place; its rectangle deleted; its ellipse sent back to level 2,
# filled 60 and flashing fast (130); "Hi" typed at (24, 40) in two 6 x 8 cells (flashing fast too: the
# flash chosen last is the current attribute new objects take), then in the 10 x 14 font two 12 x 16 cells
# from (24, 32) with a double border. The list is in z-order, level 2 first.
want = [
    ("ellipse", 36, 0, 56, 20, 2, 60, 130, 0, 0),
    ("rectangle", 4, 4, 24, 14, 3, 100, 0, 0, 0),
    ("ellipse", 40, 4, 60, 24, 3, 100, 0, 0, 0),
    ("rectangle", 85, 4, 95, 24, 3, 100, 0, 0, 0),
    ("rectangle", 81, 0, 91, 20, 3, 100, 0, 0, 0),
    ("text", 24, 32, 47, 47, 3, 100, 130, 1, 2),
]
if got != want:
    print("gui-editing: the saved screen differs", file=sys.stderr)
    print(" got ", got, file=sys.stderr)
    print(" want", want, file=sys.stderr)
    sys.exit(1)
if screen["groups"] != [[2, 3, 4]]:
    print("gui-editing: groups", screen["groups"], file=sys.stderr)
    sys.exit(1)
PY
"$cli" render "$saved" --screen 1 --zoom 20 "$build/gui-editing-screen1.png" >/dev/null
echo "gui-editing: edited, saved, checked and compared with the objects worked out by hand"

# ---- Copy in one application, paste in the next one opened ----
run="$top/across"
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
"$cli" --workdir "$run/work" new --model 500 "$run/base.ovm" >/dev/null
"$cli" --workdir "$run/work" export "$run/base.ovm" "$run/base.json"
python3 - "$src/tests/data/text/rich-500.json" "$run" <<'PY'
import copy, json, sys
rich = json.load(open(sys.argv[1]))
run = sys.argv[2]
# A new application with the rich one's touch screen and its unit, first and second nodes with their tags.
base = json.load(open(run + "/base.json"))
base["unitSettings"] = rich["unitSettings"]
base["nodes"] = [n for n in rich["nodes"] if n["number"] in (0, 1, 2)]
rich = base
def display(address, top):
    return {"kind": "displayRegister", "left": 0, "top": top, "right": 29, "bottom": top + 7, "font": 0,
            "colourA": 100, "colourB": 0, "flash": 0, "zLevel": 3, "border": 0, "showHide": None,
            "flashAnimation": None, "tag": {"node": 1, "address": address, "bytes": 2},
            "format": {"dataType": "U", "code": "50", "first": {"operation": 0, "operand": 0},
                       "second": {"operation": 0, "operand": 0}}, "leadingZerosBlank": False}
touch = {"kind": "touchArea", "left": 32, "top": 0, "right": 47, "bottom": 17, "font": 0, "colourA": 100,
         "colourB": 0, "flash": 0, "zLevel": 3, "border": 0, "showHide": None, "flashAnimation": None,
         "tag": None, "tasks": {"press": [
             {"kind": "writeValue", "subKind": 0, "parameter": 0, "value": 17, "valueFormat": 0,
              "tag1": {"node": 1, "address": "40003", "bytes": 2}, "tag2": None},
             {"kind": "copyTag", "subKind": 0, "parameter": 0, "value": 0, "valueFormat": 0,
              "tag1": {"node": 0, "address": "UW001", "bytes": 2},
              "tag2": {"node": 2, "address": "30002", "bytes": 2}}], "pressed": [], "released": []}}
first = copy.deepcopy(rich)
screen = {"number": 1, "name": "Screen1", "description": "", "password": 0, "type": "display", "associated": None}
screen.update({"objects": [display("40003", 0), display("40104", 8), touch], "groups": [],
               "tasks": {"beforeShowing": [], "whileShowing": [], "afterHiding": []}, "keys": []})
first["screens"] = [screen]
json.dump(first, open(run + "/first.json", "w"))
# The second application lacks the block of 40104; its other tags are the first one's.
second = copy.deepcopy(first)
node = next(n for n in second["nodes"] if n["number"] == 1)
node["blocks"] = [b for b in node["blocks"] if b["address"] != "40101"]
second["screens"][0]["objects"] = []
json.dump(second, open(run + "/second.json", "w"))
PY
"$cli" --workdir "$run/work" import "$run/first.json" "$run/work/Result/first.ovm" >/dev/null
"$cli" --workdir "$run/work" import "$run/second.json" "$run/work/Result/second.ovm" >/dev/null
printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $run/work/Result/first.ovm" \
  "menu Define/Screens..." \
  "shortcut Ctrl+A" \
  "tool-button Copy" \
  "menu File/Open..." \
  "button No" \
  "wait-dialog Open Quillon Application" \
  "file $run/work/Result/second.ovm" \
  "menu Define/Screens..." \
  "expect-menu Tools/Paste|enabled" \
  "shortcut Ctrl+V" \
  "wait-dialog Quillon : Information" \
  "wait-text Can not paste the Object ( Display PLC Data ). The Tag '40104' of node 1 is not in this application." \
  "button OK" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "quit" >"$run/script.txt"
play "$run"
"$cli" --workdir "$run/work" check "$run/work/Result/second.ovm"
"$cli" --workdir "$run/work" export "$run/work/Result/second.ovm" "$run/pasted.json"
python3 - "$run/pasted.json" <<'PY'
import json, sys
objects = json.load(open(sys.argv[1]))["screens"][0]["objects"]
kinds = [(o["kind"], o["left"], o["top"]) for o in objects]
want = [("displayRegister", 0, 0), ("touchArea", 32, 0)]
if kinds != want:
    print("gui-editing: pasted", kinds, "want", want, file=sys.stderr)
    sys.exit(1)
if objects[0]["tag"]["address"] != "40003":
    print("gui-editing: the display's tag", objects[0]["tag"], file=sys.stderr)
    sys.exit(1)
press = objects[1]["tasks"]["press"]
if [t["tag1"]["address"] for t in press] != ["40003", "UW001"] or press[1]["tag2"]["address"] != "30002":
    print("gui-editing: the touch area's tasks", press, file=sys.stderr)
    sys.exit(1)
PY
echo "gui-editing: copied in one application, pasted in the next with its tags and task lists"
