#!/usr/bin/env bash
# `render` as a script uses it: applications made from their text form drawn at every zoom, the PNG's size
# and pixels read back, and the refusals (unknown screen, bad zoom, an output that can not be written) with
# exit code 1 and nothing half-written.
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

"$cli" render --help >"$work/out" || fail "render --help"
grep -q "Usage:" "$work/out" || fail "no usage for render"

run new --model 500 "$work/empty.ovm" >/dev/null 2>"$work/err" || fail "new"

# A build without Qt has no renderer: it says so and fails.
if ! run render "$work/empty.ovm" --screen 1 "$work/none.png" >"$work/out" 2>"$work/err"; then
    if grep -q "render needs the Qt build" "$work/err"; then
        [ ! -e "$work/none.png" ] || fail "an image without a renderer"
        echo "render is not in this build; its refusal checked"
        exit 0
    fi
fi

# Decodes a PNG with zlib alone and answers: "size W H", or "pixel X Y" (black, white or R,G,B), or
# "count X0 Y0 X1 Y1" (the black pixels of a rectangle, edges inclusive).
cat >"$work/png.py" <<'EOF'
import struct, sys, zlib

def read(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, palette = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    assert depth == 8, "bit depth %d" % depth
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        previous = line

    def pixel(x, y):
        px = rows[y][x * channels:(x + 1) * channels]
        if colour == 3:
            return palette[px[0]]
        if colour in (0, 4):
            return (px[0],) * 3
        return tuple(px[:3])

    return width, height, pixel

width, height, pixel = read(sys.argv[1])
what = sys.argv[2]
if what == "size":
    print(width, height)
elif what == "pixel":
    p = pixel(int(sys.argv[3]), int(sys.argv[4]))
    print({(0, 0, 0): "black", (255, 255, 255): "white"}.get(p, "%d,%d,%d" % p))
elif what == "count":
    x0, y0, x1, y1 = map(int, sys.argv[3:7])
    print(sum(1 for y in range(y0, y1 + 1) for x in range(x0, x1 + 1) if pixel(x, y) == (0, 0, 0)))
EOF
png() { python3 "$work/png.py" "$@"; }

# The application: a rectangle and a text on screen 1 of the VQ5K-822 (128 x 64 unit pixels), a text on
# screen 1 of the VQ5K-252 (a character display of 192 x 32).
run export "$work/empty.ovm" "$work/empty.json" 2>"$work/err" || fail "export"
python3 - "$work/empty.json" "$work/plant.json" <<'EOF'
import json, sys
doc = json.load(open(sys.argv[1]))
doc["screens"] = [{"number": 1, "name": "Main", "objects": [
    {"kind": "rectangle", "left": 10, "top": 10, "right": 49, "bottom": 29},
    {"kind": "text", "left": 0, "top": 48, "right": 59, "bottom": 63, "font": 1, "text": "Pump"}]},
    {"number": 7, "name": "Empty", "objects": []}]
json.dump(doc, open(sys.argv[2], "w"))
EOF
run import "$work/plant.json" "$work/plant.ovm" >/dev/null 2>"$work/err" || fail "import plant"

for zoom in 10 20 30 40 80; do
    out="$work/plant$zoom.png"
    run render "$work/plant.ovm" --screen 1 --zoom "$zoom" "$out" >"$work/out" 2>"$work/err" ||
        fail "render at zoom $zoom"
    w=$((128 * zoom / 10))
    h=$((64 * zoom / 10))
    grep -q "^Screen 1 of .*plant.ovm at zoom $zoom: $w x $h pixels, saved to .*plant$zoom.png.$" "$work/out" ||
        fail "render report at zoom $zoom"
    [ "$(png "$out" size)" = "$w $h" ] || fail "size at zoom $zoom: $(png "$out" size)"
    # The rectangle's top-left corner and top edge are drawn, its inside and the empty screen are not.
    [ "$(png "$out" pixel $((10 * zoom / 10)) $((10 * zoom / 10)))" = black ] || fail "corner at zoom $zoom"
    [ "$(png "$out" pixel $((30 * zoom / 10)) $((10 * zoom / 10)))" = black ] || fail "top edge at zoom $zoom"
    [ "$(png "$out" pixel $((30 * zoom / 10)) $((20 * zoom / 10)))" = white ] || fail "inside at zoom $zoom"
    [ "$(png "$out" count $((70 * zoom / 10)) 0 $((w - 1)) $((h - 1)))" = 0 ] || fail "stray pixels at $zoom"
    [ "$(png "$out" count 0 0 $((9 * zoom / 10)) $((47 * zoom / 10)))" = 0 ] || fail "left margin at $zoom"
    # The text's glyphs: its cells hold lit dots, more of them the larger the zoom.
    text=$(png "$out" count 0 $((48 * zoom / 10)) $((60 * zoom / 10 - 1)) $((h - 1)))
    [ "$text" -gt 0 ] || fail "no text at zoom $zoom"
    eval "text$zoom=$text"
done
# shellcheck disable=SC2154
[ "$text20" -gt "$text10" ] && [ "$text30" -gt "$text20" ] && [ "$text80" -gt "$text40" ] ||
    fail "the text does not grow with the zoom"

# The default zoom is 10, and an empty screen is all white.
run render "$work/plant.ovm" --screen 7 "$work/empty7.png" >/dev/null 2>"$work/err" || fail "render screen 7"
[ "$(png "$work/empty7.png" size)" = "128 64" ] || fail "default zoom"
[ "$(png "$work/empty7.png" count 0 0 127 63)" = 0 ] || fail "an empty screen is not blank"

# A character display: its own size, text in whole cells.
run new --model 10 "$work/char.ovm" >/dev/null 2>"$work/err" || fail "new 10"
run export "$work/char.ovm" "$work/char.json" 2>"$work/err" || fail "export 10"
python3 - "$work/char.json" <<'EOF'
import json, sys
doc = json.load(open(sys.argv[1]))
doc["screens"] = [{"number": 2, "name": "Text", "objects": [
    {"kind": "text", "left": 0, "top": 0, "right": 47, "bottom": 15, "text": "Hot"}]}]
json.dump(doc, open(sys.argv[1], "w"))
EOF
run import "$work/char.json" "$work/char.ovm" >/dev/null 2>"$work/err" || fail "import 10"
run render "$work/char.ovm" --screen 2 --zoom 20 "$work/char.png" >/dev/null 2>"$work/err" || fail "render 10"
[ "$(png "$work/char.png" size)" = "384 64" ] || fail "size of the character display"
[ "$(png "$work/char.png" count 0 0 95 31)" -gt 0 ] || fail "no text on the character display"
[ "$(png "$work/char.png" count 96 0 383 63)" = 0 ] || fail "stray pixels on the character display"

# Refusals: exit 1, the reason on standard error, no image and an existing one left as it was.
cp "$work/plant10.png" "$work/keep.png"
expect_refusal() {
    local message="$1"
    shift
    if run "$@" >"$work/out" 2>"$work/err"; then fail "accepted: $*"; fi
    grep -qF "$message" "$work/err" || fail "message for $*: wanted \"$message\""
}
expect_refusal "There is no screen 2 in $work/plant.ovm." render "$work/plant.ovm" --screen 2 "$work/keep.png"
expect_refusal "There is no screen 0 in" render "$work/plant.ovm" --screen 0 "$work/keep.png"
expect_refusal "There is no screen 70000 in" render "$work/plant.ovm" --screen 70000 "$work/keep.png"
expect_refusal "The zoom is 10, 20, 30, 40, 50, 60, 70 or 80 (tenths), not 15." render "$work/plant.ovm" --screen 1 --zoom 15 \
    "$work/keep.png"
expect_refusal "The zoom is 10, 20, 30, 40, 50, 60, 70 or 80 (tenths), not 90." render "$work/plant.ovm" --screen 1 --zoom 90 \
    "$work/keep.png"
expect_refusal "Can not load $work/missing.ovm" render "$work/missing.ovm" --screen 1 "$work/keep.png"
cmp -s "$work/plant10.png" "$work/keep.png" || fail "a refused render changed the image"
expect_refusal "Can not write $work/no/such/folder.png" render "$work/plant.ovm" --screen 1 \
    "$work/no/such/folder.png"
[ ! -e "$work/no" ] || fail "a folder was made for the image"
expect_refusal "is a folder; name the PNG image to write." render "$work/plant.ovm" --screen 1 "$work/tool"
if run render "$work/plant.ovm" "$work/keep.png" >/dev/null 2>&1; then fail "render without --screen"; fi
# No temporary file is left behind by any of them.
leftovers=$(find "$work" -maxdepth 1 -name '.*' ! -name '.' | wc -l)
[ "$leftovers" = 0 ] || fail "temporary files left: $(ls -a "$work")"

echo "cli-render: all checks passed"
