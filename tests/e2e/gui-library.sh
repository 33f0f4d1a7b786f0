#!/usr/bin/env bash
# The library of object groups through the real window under a virtual X display, as a user would: in a
# first application the pump's two objects are selected and kept as the library item "Pump" (Tools, "Add to
# Library..."); a second application, which has a register named Pump1_Speed at another address and no
# coil at the item's address, gets the item from the screen's right-button menu at the point clicked ("Insert from Library..."):
# the register is mapped by name, the coil is refused first (the dialog stays open with the reason), then
# created as Pump7_Run at the item's address. The item file must be the text form's JSON, and the second
# application's export must hold exactly the tags and objects worked out by hand below.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-library "$@"
run="$scratch/run"
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cli_run() { "$cli" --workdir "$run/work" "$@"; }

# play: plays $run/script.txt in the window started in the run's working folder.
play() {
  local out
  out=$(cd "$run/work" && timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" --script "$run/script.txt" 2>"$run/stderr.txt") || {
    echo "$out"
    echo "gui-library: the scripted session failed" >&2
    cat "$run/stderr.txt" >&2
    exit 1
  }
}

# Two model-10 applications (192 x 32, text cells of 12 x 16) with the same Modbus node: the pump's
# screen 10 in the first, a screen 1 with a title text in the second.
cli_run new --model 10 "$run/new.ovm" >/dev/null
cli_run export "$run/new.ovm" "$run/new.json"
python3 - "$run/new.json" "$src/tests/data/text/rich-20.json" "$run/first.json" "$run/second.json" <<'PY'
import copy, json, sys
base = json.load(open(sys.argv[1]))
node = json.load(open(sys.argv[2]))["nodes"][1]
def tag(address, kind, name, nbytes=0):
    return {"address": address, "type": kind, "readWrite": "readWrite", "bit": 0, "bytes": nbytes,
            "byteSelect": 0, "attribute": 0, "name": name, "prefix": address[0]}
def obj(kind, left, top, right, bottom, **extra):
    o = {"kind": kind, "left": left, "top": top, "right": right, "bottom": bottom, "font": 0, "colourA": 100,
         "colourB": 0, "flash": 0, "zLevel": 3, "border": 0, "showHide": None, "flashAnimation": None,
         "tag": None}
    o.update(extra)
    return o
def screen(number, name, objects):
    s = {"number": number, "name": name, "description": "", "password": 0, "type": "display",
         "associated": None, "objects": objects}
    for key in ("beforeShowing", "whileShowing", "afterHiding"):
        s[key] = []
    s["keys"] = []
    return s
fmt = {"dataType": "U", "code": "50", "first": {"operation": 0, "operand": 0},
       "second": {"operation": 0, "operand": 0}}

first = copy.deepcopy(base)
n1 = copy.deepcopy(node)
n1["blocks"] = [
    {"address": "00001", "size": 60, "attribute": 3, "name": "Coils", "prefix": "0",
     "tags": [tag("00005", "coil", "Pump1_Run")]},
    {"address": "40001", "size": 60, "attribute": 3, "name": "Hold", "prefix": "4",
     "tags": [tag("40010", "register", "Pump1_Speed", 2)]},
]
first["nodes"].append(n1)
first["screens"] = [screen(10, "Pump1", [
    obj("displayRegister", 0, 0, 59, 15, tag={"node": 1, "address": "40010", "bytes": 2}, format=fmt,
        leadingZerosBlank=False),
    obj("displayCoil", 72, 0, 107, 15, tag={"node": 1, "address": "00005"}, offText="OFF", onText="ON"),
])]
json.dump(first, open(sys.argv[3], "w"), indent=2)

second = copy.deepcopy(base)
n2 = copy.deepcopy(node)
n2["blocks"] = [
    {"address": "00001", "size": 60, "attribute": 3, "name": "Coils", "prefix": "0",
     "tags": [tag("00050", "coil", "Reset")]},
    {"address": "40001", "size": 60, "attribute": 3, "name": "Hold", "prefix": "4",
     "tags": [tag("40020", "register", "Pump1_Speed", 2)]},
]
second["nodes"].append(n2)
second["screens"] = [screen(1, "Main", [obj("text", 0, 0, 59, 15, text="PUMPS")])]
json.dump(second, open(sys.argv[4], "w"), indent=2)
PY
cli_run import "$run/first.json" "$run/work/Result/first.ovm" >/dev/null
cli_run import "$run/second.json" "$run/work/Result/second.ovm" >/dev/null

printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $run/work/Result/first.ovm" \
  "menu Define/Screens..." \
  "shortcut Ctrl+A" \
  "menu Tools/Add to Library..." \
  "wait-dialog Quillon : Add to Library" \
  "set name|Pump" \
  "button OK" \
  "menu Screen/Close Screens session" \
  "menu File/Open..." \
  "wait-dialog Quillon : Confirmation" \
  "button No" \
  "wait-dialog Open Quillon Application" \
  "file $run/work/Result/second.ovm" \
  "menu Define/Screens..." \
  "canvas-right-click 5 20" \
  "canvas-menu Insert from Library..." \
  "wait-dialog Quillon : Insert from Library" \
  "expect-rows items|1" \
  "expect choice0|Pump1_Speed ( 40020 )" \
  "expect choice1|Create a new tag" \
  "choose choice1|Refuse" \
  "button OK" \
  "wait-dialog Quillon : Error" \
  "wait-text The library item can not be inserted: 'Pump1_Run' ( node 1, 00005 ) has no tag in this application." \
  "button OK" \
  "wait-dialog Quillon : Insert from Library" \
  "choose choice1|Create a new tag" \
  "set name1|Pump7_Run" \
  "button OK" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "quit" >"$run/script.txt"
play

item="$run/work/library/Pump.json"
[ -f "$item" ] || { echo "gui-library: no item file $item" >&2; exit 1; }
cli_run check "$run/work/Result/second.ovm" >/dev/null
cli_run export "$run/work/Result/second.ovm" "$run/after.json"
python3 - "$item" "$run/after.json" <<'PY'
import json, sys
item = json.load(open(sys.argv[1]))
objects = [(o["kind"], o["left"], o["top"], o["tag"]["address"]) for o in item["screens"][0]["objects"]]
want = [("displayRegister", 0, 0, "40010"), ("displayCoil", 72, 0, "00005")]
if objects != want:
    print("gui-library: item objects", objects, "want", want, file=sys.stderr)
    sys.exit(1)
names = sorted(t["name"] for n in item["nodes"] for b in n["blocks"] for t in b["tags"])
if names != ["Pump1_Run", "Pump1_Speed"]:
    print("gui-library: item tags", names, file=sys.stderr)
    sys.exit(1)

app = json.load(open(sys.argv[2]))
tags = sorted((t["name"], t["address"]) for n in app["nodes"] for b in n["blocks"] for t in b["tags"])
want = sorted([("Pump1_Speed", "40020"), ("Pump7_Run", "00005"), ("Reset", "00050")])
if tags != want:
    print("gui-library: tags", tags, "want", want, file=sys.stderr)
    sys.exit(1)
# The right click at (5, 20) lies in the text cell from (0, 16): the group's corner goes there.
objects = [(o["kind"], o["left"], o["top"], o["right"], o["bottom"], (o["tag"] or {}).get("address"))
           for s in app["screens"] for o in s["objects"]]
want = [("text", 0, 0, 59, 15, None),
        ("displayRegister", 0, 16, 59, 31, "40020"),
        ("displayCoil", 72, 16, 107, 31, "00005")]
if objects != want:
    print("gui-library: objects", objects, "want", want, file=sys.stderr)
    sys.exit(1)
PY
echo "gui-library: ok"
