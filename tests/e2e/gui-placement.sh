#!/usr/bin/env bash
# Places objects through the real window alone under a virtual X display: on a graphic model a rectangle,
# an ellipse, a round rectangle, a polyline and a polygon drawn with the mouse, a text typed on the canvas
# and an alarm window; on a character model a text, a refused text over it and an alarm window; bitmaps
# from the bitmap library, added, placed, kept from deletion and changed. Each
# application is saved, checked with quillon-cli, and its screen drawn by `quillon-cli render` must equal
# the reviewed picture in tests/data/placement/ (a differing picture is left in the build folder).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-placement "$@"
top="$scratch"



# Two small Windows bitmaps for the bitmap library: a 16 x 8 frame with a diagonal, a 24 x 12 checker.
python3 - "$top" <<'PY'
import struct, sys
def bmp1(path, w, h, lit):
    stride = (w + 31) // 32 * 4
    data = b""
    for y in reversed(range(h)):
        row = bytearray(stride)
        for x in range(w):
            if lit(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        data += bytes(row)
    palette = b"\x00\x00\x00\x00\xff\xff\xff\x00"
    offset = 14 + 40 + len(palette)
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 0)
    open(path, "wb").write(head + info + palette + data)
bmp1(sys.argv[1] + "/frame.bmp", 16, 8, lambda x, y: x in (0, 15) or y in (0, 7) or x == 2 * y)
bmp1(sys.argv[1] + "/CHECKER.BMP", 24, 12, lambda x, y: (x + y) % 2 == 0)
PY

# place NAME MODEL ZOOM [FILE]: plays $top/NAME.txt on a new application of MODEL (or on FILE), then checks
# and draws it.
place() {
  local name=$1 model=$2 zoom=$3
  local run="$top/$name"
  bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
  local saved="$run/work/Result/$name.ovm"
  sed -e "s#@SAVED@#$saved#" -e "s#@DIR@#$top#" "$top/$name.txt" >"$run/script.txt"
  local out
  local start=(--new "$model")
  if [ -n "${4:-}" ]; then
    start=("$4")
  fi
  out=$(cd "$run/work" && timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" "${start[@]}" --script "$run/script.txt" 2>"$run/stderr.txt") || {
    echo "$out"
    echo "gui-placement: the scripted session on model $model failed" >&2
    cat "$run/stderr.txt" >&2
    exit 1
  }
  [ -s "$saved" ] || { echo "gui-placement: nothing saved at $saved" >&2; exit 1; }
  "$cli" check "$saved"
  local drawn="$build/gui-placement-$name.png"
  "$cli" render "$saved" --screen 1 --zoom "$zoom" "$drawn" >/dev/null
  local kept="$src/tests/data/placement/$name-screen1-z$zoom.png"
  if ! python3 - "$drawn" "$kept" <<'PY'
import sys, zlib, struct
def pixels(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, head, idat = 8, None, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            head = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    return head, zlib.decompress(idat)
sys.exit(0 if pixels(sys.argv[1]) == pixels(sys.argv[2]) else 1)
PY
  then
    echo "gui-placement: screen 1 of $name differs from $kept; drawn: $drawn" >&2
    exit 1
  fi
  echo "gui-placement: $name placed, saved, checked and drawn as reviewed"
}

printf '%s\n' \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "menu Objects/Graphic Objects/Rectangle" \
  "canvas-drag 2 2 30 20" \
  "menu Objects/Graphic Objects/Ellipse" \
  "canvas-drag 34 2 60 20" \
  "menu Objects/Graphic Objects/Round Rectangle" \
  "canvas-drag 64 2 90 20" \
  "menu Objects/Graphic Objects/Polyline" \
  "canvas-click 94 2" \
  "canvas-click 124 10" \
  "canvas-double-click 100 20" \
  "menu Objects/Graphic Objects/Polygon" \
  "canvas-click 2 30" \
  "canvas-click 30 30" \
  "canvas-double-click 14 50" \
  "menu Objects/Alpha-numeric Objects/Text" \
  "canvas-click 66 24" \
  "canvas-type Pump 1" \
  "canvas-click 120 60" \
  "menu Objects/Alpha-numeric Objects/Alarm" \
  "canvas-click 66 40" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "wait-dialog Save Quillon Application" \
  "file @SAVED@" \
  "quit" >"$top/graphic.txt"
place graphic 500 30

# On a character display a text may not be placed over another object.
printf '%s\n' \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "menu Objects/Alpha-numeric Objects/Text" \
  "canvas-click 0 0" \
  "canvas-type Level" \
  "canvas-click 200 60" \
  "menu Objects/Alpha-numeric Objects/Text" \
  "canvas-click 12 0" \
  "wait-dialog Quillon : Information" \
  "wait-text Can not accept / edit the Object (Text).\nOtherwise there will be overlapping which is not allowed." \
  "button OK" \
  "menu Objects/Alpha-numeric Objects/Alarm" \
  "canvas-click 0 16" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "wait-dialog Save Quillon Application" \
  "file @SAVED@" \
  "quit" >"$top/character.txt"
place character 40 20

# The Bitmap tool: pictures added to the library (a duplicate refused), the first placed at the bottom-right
# corner after the edge prompt, a used picture kept from deletion, the second placed and then changed to
# the first through its double click.
printf '%s\n' \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "menu Objects/Graphic Objects/Bitmap" \
  "canvas-click 120 60" \
  "wait-dialog Orvik : Bitmap library : Total 0" \
  "button Add New Bitmap To Library" \
  "wait-dialog Select Picture" \
  "file @DIR@/frame.bmp" \
  "wait-dialog Orvik : Bitmap library : Total 1" \
  "button Add New Bitmap To Library" \
  "wait-dialog Select Picture" \
  "file @DIR@/CHECKER.BMP" \
  "wait-dialog Orvik : Bitmap library : Total 2" \
  "expect dimension|24 X 12 (pixels)" \
  "button Add New Bitmap To Library" \
  "wait-dialog Select Picture" \
  "file @DIR@/frame.bmp" \
  "wait-dialog Quillon : Information" \
  "wait-text This picture is already present in the library.\nHence can not be added." \
  "button OK" \
  "wait-dialog Orvik : Bitmap library : Total 2" \
  "key Up" \
  "expect dimension|16 X 8 (pixels)" \
  "button Add  Selected Bitmap To Screen" \
  "wait-dialog Quillon : Error" \
  "wait-text Not enough space for an object.\nPress OK to adjust such that complete object will appear.\nPress CANCEL to cancel the operation." \
  "button OK" \
  "menu Objects/Graphic Objects/Bitmap" \
  "canvas-click 10 10" \
  "wait-dialog Orvik : Bitmap library : Total 2" \
  "key Home" \
  "button Delete Selected Bitmap" \
  "wait-dialog Quillon : Confirmation" \
  "button Yes" \
  "wait-dialog Quillon : Information" \
  "wait-text This Bitmap is used hence can not be deleted." \
  "button OK" \
  "wait-dialog Orvik : Bitmap library : Total 2" \
  "key End" \
  "button Add  Selected Bitmap To Screen" \
  "canvas-double-click 12 12" \
  "wait-dialog Orvik : Bitmap library : Total 2" \
  "expect dimension|24 X 12 (pixels)" \
  "key Home" \
  "button Change" \
  "menu Objects/Graphic Objects/Bitmap" \
  "canvas-click 40 30" \
  "wait-dialog Orvik : Bitmap library : Total 2" \
  "key End" \
  "button Add  Selected Bitmap To Screen" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "wait-dialog Save Quillon Application" \
  "file @SAVED@" \
  "quit" >"$top/bitmap.txt"
place bitmap 500 30

# Objects that read tags: a bargraph whose tag is made in the tag database opened by the button beside its
# tag drop-down, then a data entry and a register display of the same tag.
printf '%s\n' \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "menu Objects/Graphic Objects/Bargraph" \
  "canvas-click 4 4" \
  "wait-dialog Quillon : Bar Graph" \
  "button ..." \
  "wait-dialog Quillon : Tags" \
  "set part1Edit|010" \
  "set Tag-Name|Level" \
  "button Add" \
  "expect-row tags|Level" \
  "button Close" \
  "wait-dialog Quillon : Bar Graph" \
  "choose tag|Level ( UW010 )" \
  "set Max|1000" \
  "button OK" \
  "menu Objects/Alpha-numeric Objects/Data Entry" \
  "canvas-click 40 4" \
  "check Register" \
  "choose tag|Level ( UW010 )" \
  "button OK" \
  "menu Objects/Alpha-numeric Objects/Display PLC Data" \
  "canvas-click 40 30" \
  "check Register Value" \
  "choose tag|Level ( UW010 )" \
  "button OK" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "wait-dialog Save Quillon Application" \
  "file @SAVED@" \
  "quit" >"$top/tags.txt"
place tags 500 20

# A touch-screen area: the unit of a new application has no touch screen on this model, so the application
# comes from its text form with the touch screen on. The area's task lists open at once; a Press task keeps it.
"$cli" new --model 500 "$top/touch-new.ovm" >/dev/null
"$cli" export "$top/touch-new.ovm" "$top/touch.json" >/dev/null
sed -i 's/"touchScreen": 0/"touchScreen": 1/' "$top/touch.json"
"$cli" import "$top/touch.json" "$top/touch-start.ovm" >/dev/null
printf '%s\n' \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "menu Objects/Graphic Objects/Touch-screen" \
  "canvas-click 50 30" \
  "task-choose Goto Previous Screen" \
  "task-lines 0 Goto Previous Screen" \
  "button Close" \
  "menu Objects/Graphic Objects/Rectangle" \
  "canvas-drag 2 2 30 20" \
  "menu Screen/Close Screens session" \
  "menu File/Save as..." \
  "wait-dialog Save Quillon Application" \
  "file @SAVED@" \
  "quit" >"$top/touch.txt"
place touch 500 20 "$top/touch-start.ovm"
