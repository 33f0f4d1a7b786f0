#!/usr/bin/env bash
# Replicates a pump screen through the real window under a virtual X display, as a user would: the screens
# manager (View All Screens) on screen 10, "Replicate...", five new screens 21-25 with the tag names'
# Pump1 becoming Pump{n}, ten registers (coils) further per copy, the missing tags created and the texts
# and the screen's name renamed too; a refusal first (numbers out of range), then the confirmation naming
# what will be created. The saved file must pass `quillon-cli check`, and its export must hold exactly the
# screens and tags worked out by hand below.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-replicate "$@"
run="$scratch/run"
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cli_run() { "$cli" --workdir "$run/work" "$@"; }

# play: plays $run/script.txt in the window started in the run's working folder.
play() {
  local out
  out=$(cd "$run/work" && timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" --script "$run/script.txt" 2>"$run/stderr.txt") || {
    echo "$out"
    echo "gui-replicate: the scripted session failed" >&2
    cat "$run/stderr.txt" >&2
    exit 1
  }
}

# A model-10 application with a Modbus node, a pump screen 10 and a shared reset coil.
cli_run new --model 10 "$run/new.ovm" >/dev/null
cli_run export "$run/new.ovm" "$run/new.json"
python3 - "$run/new.json" "$src/tests/data/text/rich-20.json" "$run/pump.json" <<'PY'
import json, sys
app = json.load(open(sys.argv[1]))
node = json.load(open(sys.argv[2]))["nodes"][1]
def tag(address, kind, name, nbytes=0):
    return {"address": address, "type": kind, "readWrite": "readWrite", "bit": 0, "bytes": nbytes,
            "byteSelect": 0, "attribute": 0, "name": name, "prefix": address[0]}
node["blocks"] = [
    {"address": "00001", "size": 60, "attribute": 3, "name": "Coils", "prefix": "0",
     "tags": [tag("00005", "coil", "Pump1_Run"), tag("00050", "coil", "Reset")]},
    {"address": "40001", "size": 60, "attribute": 3, "name": "Hold", "prefix": "4",
     "tags": [tag("40010", "register", "Pump1_Speed", 2)]},
]
app["nodes"].append(node)
def obj(kind, left, top, right, bottom, **extra):
    o = {"kind": kind, "left": left, "top": top, "right": right, "bottom": bottom, "font": 2, "colourA": 100,
         "colourB": 0, "flash": 0, "zLevel": 3, "border": 0, "showHide": None, "flashAnimation": None,
         "tag": None}
    o.update(extra)
    return o
screen = {"number": 10, "name": "Pump1", "description": "", "password": 0, "type": "display",
          "associated": None, "objects": [
    obj("text", 0, 0, 59, 15, text="Pump1"),
    obj("displayRegister", 0, 16, 59, 31, tag={"node": 1, "address": "40010", "bytes": 2},
        format={"dataType": "U", "code": "50", "first": {"operation": 0, "operand": 0},
                "second": {"operation": 0, "operand": 0}}, leadingZerosBlank=False),
    obj("displayCoil", 60, 16, 95, 31, tag={"node": 1, "address": "00005"}, offText="OFF", onText="ON",
        showHide={"tag": {"node": 1, "address": "00050"}, "when": 0, "low": 0, "high": 0}),
]}
for key in ("beforeShowing", "whileShowing", "afterHiding"):
    screen[key] = []
screen["keys"] = []
app["screens"] = [screen]
json.dump(app, open(sys.argv[3], "w"), indent=2)
PY
cli_run import "$run/pump.json" "$run/work/Result/pump.ovm" >/dev/null

printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $run/work/Result/pump.ovm" \
  "menu Define/Screens..." \
  "menu Screen/View All Screens..." \
  "wait-dialog Quillon : All 1 screen(s)  ( Double click to select )" \
  "button Replicate..." \
  "wait-dialog Quillon : Replicate Screen ( 00010 : Pump1 )" \
  "expect Replace in tag names|Pump1" \
  "expect With|Pump{n}" \
  "set New screen numbers|21-25,65535" \
  "set Address offset per copy|10" \
  "check Replace also in static texts and the screen's name" \
  "button OK" \
  "wait-dialog Quillon : Error" \
  "wait-text Screen number 65535 is out of range ( 1 - 65534 )." \
  "button OK" \
  "wait-dialog Quillon : Replicate Screen ( 00010 : Pump1 )" \
  "set New screen numbers|21-25" \
  "button OK" \
  "wait-dialog Quillon : Confirmation" \
  "wait-text Replicate Screen ' 10 : Pump1 ' ?\n\n5 screen(s) will be created and 10 tag(s) added.\n( A replication can not be undone. )" \
  "button Yes" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "quit" >"$run/script.txt"
play
cli_run check "$run/work/Result/pump.ovm" >/dev/null
cli_run export "$run/work/Result/pump.ovm" "$run/five.json"
python3 - "$run/five.json" <<'PY'
import json, sys
app = json.load(open(sys.argv[1]))
tags = sorted((t["name"], t["address"]) for n in app["nodes"] for b in n["blocks"] for t in b["tags"])
want = sorted([("Pump1_Run", "00005"), ("Reset", "00050"), ("Pump1_Speed", "40010"),
               ("Pump2_Run", "00015"), ("Pump3_Run", "00025"), ("Pump4_Run", "00035"),
               ("Pump5_Run", "00045"), ("Pump6_Run", "00055"),
               ("Pump2_Speed", "40020"), ("Pump3_Speed", "40030"), ("Pump4_Speed", "40040"),
               ("Pump5_Speed", "40050"), ("Pump6_Speed", "40060")])
if tags != want:
    print("gui-replicate: tags", tags, "want", want, file=sys.stderr)
    sys.exit(1)
screens = [(s["number"], s["name"], s["objects"][0]["text"], s["objects"][1]["tag"]["address"],
            s["objects"][2]["tag"]["address"], s["objects"][2]["showHide"]["tag"]["address"])
           for s in app["screens"]]
want = [(10, "Pump1", "Pump1", "40010", "00005", "00050"),
        (21, "Pump2", "Pump2", "40020", "00015", "00050"),
        (22, "Pump3", "Pump3", "40030", "00025", "00050"),
        (23, "Pump4", "Pump4", "40040", "00035", "00050"),
        (24, "Pump5", "Pump5", "40050", "00045", "00050"),
        (25, "Pump6", "Pump6", "40060", "00055", "00050")]
if screens != want:
    print("gui-replicate: screens", screens, "want", want, file=sys.stderr)
    sys.exit(1)
PY
echo "gui-replicate: ok"
