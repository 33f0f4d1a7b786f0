#!/usr/bin/env bash
# quillon-cli replicate: a pump screen copied to new numbers with its tags renamed and moved by an offset,
# the tags created, the result check-clean; refusals (missing tags, numbers in use, the read limit) leave
# the file as it was.
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tool"
cp -r "$source_dir/data/plc" "$work/plc"
run() { "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && cat "$work/out"; [ -f "$work/err" ] && cat "$work/err"; exit 1; }

"$cli" replicate --help | grep -q "Usage:" || fail "replicate --help"

# A model-10 application with a PLC node, a pump screen 10 and a shared reset coil.
run new --model 10 "$work/new.ovm" >/dev/null || fail "new"
run export "$work/new.ovm" "$work/new.json" || fail "export"
python3 - "$work/new.json" "$source_dir/tests/data/text/rich-20.json" "$work/pump.json" <<'PY'
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
run import "$work/pump.json" "$work/pump.ovm" 2>"$work/err" || fail "import of the pump application"

# Missing tags without --create-tags: refused with the list, nothing written.
cp "$work/pump.ovm" "$work/keep.ovm"
if run replicate "$work/pump.ovm" --screen 10 --to 21-25 --rename 'Pump1=Pump{n}' --offset 10 \
    >"$work/out" 2>"$work/err"; then fail "missing tags accepted"; fi
grep -q "creating tags is not chosen" "$work/err" || fail "no list of missing tags"
grep -q "Pump2_Speed ( node 1, 40020 )" "$work/err" || fail "missing tag line"
cmp -s "$work/pump.ovm" "$work/keep.ovm" || fail "a refused replication changed the file"

# Five copies with created tags, saved elsewhere.
run replicate "$work/pump.ovm" --screen 10 --to 21-25 --rename 'Pump1=Pump{n}' --offset 10 --create-tags \
    --texts -o "$work/five.ovm" >"$work/out" 2>"$work/err" || fail "replicate"
grep -q "^Replicated screen 10 to 5 screen(s) (21 to 25); created 10 tag(s)" "$work/out" || fail "summary"
grep -q "tag Pump6_Speed ( node 1, 40060 )" "$work/out" || fail "created tag line"
cmp -s "$work/pump.ovm" "$work/keep.ovm" || fail "-o changed the input"
run check "$work/five.ovm" >"$work/out" 2>"$work/err" || fail "check of the replicated application"
run export "$work/five.ovm" "$work/five.json" || fail "export of the result"
python3 - "$work/five.json" <<'PY' || fail "exported screens and tags"
import json, sys
app = json.load(open(sys.argv[1]))
tags = {t["name"]: t["address"] for n in app["nodes"] for b in n["blocks"] for t in b["tags"]}
screens = {s["number"]: s for s in app["screens"]}
assert sorted(screens) == [10, 21, 22, 23, 24, 25], sorted(screens)
for k, number in enumerate(range(21, 26)):
    n = k + 2
    assert tags[f"Pump{n}_Speed"] == "4%04d" % (10 + 10 * (k + 1)), tags
    assert tags[f"Pump{n}_Run"] == "0%04d" % (5 + 10 * (k + 1)), tags
    s = screens[number]
    assert s["name"] == f"Pump{n}", s["name"]
    assert s["objects"][0]["text"] == f"Pump{n}"
    assert s["objects"][1]["tag"]["address"] == tags[f"Pump{n}_Speed"]
    assert s["objects"][2]["tag"]["address"] == tags[f"Pump{n}_Run"]
    assert s["objects"][2]["showHide"]["tag"]["address"] == "00050"  # the shared reset stays
assert len(tags) == 3 + 10
PY

# Numbers in use, out of range, or a bad rule: refused with the reason.
if run replicate "$work/five.ovm" --screen 10 --to 25-26 --offset 100 --create-tags 2>"$work/err"; then
    fail "number in use accepted"; fi
grep -q "The Screen of number 25 already exist." "$work/err" || fail "number in use message"
if run replicate "$work/five.ovm" --screen 10 --to 65535 2>"$work/err"; then fail "65535 accepted"; fi
grep -q "out of range" "$work/err" || fail "65535 message"
run replicate "$work/five.ovm" --screen 10 --to 65534 -o "$work/last.ovm" >/dev/null || fail "65534 refused"
if run replicate "$work/five.ovm" --screen 10 --to 30 --rename 'Pump1' 2>"$work/err"; then fail "bad rule"; fi
grep -q "FROM=TO" "$work/err" || fail "bad rule message"
if run replicate "$work/five.ovm" --screen 99 --to 30 2>"$work/err"; then fail "no such screen"; fi
grep -q "has no screen 99" "$work/err" || fail "no screen message"
echo "cli-replicate: ok"
