#!/usr/bin/env bash
# `report` as a script uses it: the application report of a test application written as one PDF, read back
# with poppler's pdftotext and pdftoppm: each section's text on its page, the page numbers, the page breaks
# of a long tag list, every page compared with its golden picture in tests/data/print/ (a few pixels may
# differ with the fonts of the machine), and the refusals with exit code 1 and nothing written.
# QUILLON_UPDATE_GOLDEN=1 writes the golden pictures anew (look at them before committing them).
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
for tool in pdftotext pdftoppm pdfinfo; do
    command -v "$tool" >/dev/null || { echo "cli-report: $tool is missing (package poppler-utils)" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tool"
cp -r "$source_dir/data/plc" "$work/plc"
run() { "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && cat "$work/out"; [ -f "$work/err" ] && cat "$work/err"; exit 1; }
golden="$source_dir/tests/data/print"

run import "$golden/report-500.json" "$work/app.ovm" >/dev/null 2>"$work/err" || fail "import"

# A build without Qt has no report: it says so and fails.
if ! run report "$work/app.ovm" "$work/none.pdf" >"$work/out" 2>"$work/err"; then
    if grep -q "report needs the Qt build" "$work/err"; then
        [ ! -e "$work/none.pdf" ] || fail "a PDF without a painter"
        echo "report is not in this build; its refusal checked"
        exit 0
    fi
    fail "report of every section"
fi
grep -qx "Report of $work/app.ovm: 7 pages, saved to $work/none.pdf." "$work/out" || fail "report's line"
all="$work/none.pdf"
[ "$(pdfinfo "$all" | sed -n 's/^Pages: *//p')" = 7 ] || fail "seven pages"
pdfinfo "$all" | grep -q "Page size: *595 x 842 pts (A4)" || fail "A4 pages"

# The text of page N with every run of blanks made one.
page() { pdftotext -f "$1" -l "$1" -layout "$2" - | sed -e 's/[[:space:]]\+/ /g' -e 's/^ //' -e 's/ $//' | grep -v '^$'; }
expect() { # PAGE FILE LINE...: each LINE is a line of the page, in this order
    local n="$1" file="$2"
    shift 2
    page "$n" "$file" >"$work/page.txt"
    python3 - "$work/page.txt" "$@" <<'EOF' || fail "page $n of $file"
import sys
lines = open(sys.argv[1]).read().splitlines()
at = 0
for wanted in sys.argv[2:]:
    while at < len(lines) and lines[at] != wanted:
        at += 1
    if at == len(lines):
        sys.exit("missing or out of order: %r\n--- page:\n%s" % (wanted, "\n".join(lines)))
    at += 1
EOF
}
last_line() { page "$1" "$2" | tail -n 1; }

expect 1 "$all" "Quillon Application Information :" "Title : Bottling line" "Author : K. Marsh" \
    "Date Last Edited : 07/12/2026" "Time Last Edited : 09:39:26" \
    "Description : Filling and capping station with two pumps, a" \
    "VQ5K Settings :" "Memory : 64KB" "Printer Port Settings :" "Baudrate : 9600" "Parity : None" \
    "No of Bits : 8" "No of Columns : 80" "Terminating Character : CR + LF" \
    "Quillon Nodes :" "Node Address Node Name VQ5K Unit / PLC Name" "000 Operator Panel VQ5K-822" \
    "001 Node1 Modbus RTU Master ( Standard addressing 0xxxx-4xxxx )" "Page No : 1"
expect 2 "$all" "Quillon Tags :" "No. Node Name Tag Bytes Tag Name" "0001 Operator Panel R0005 2 T1" \
    "0002 Operator Panel R0006_02 _ T2" "0003 Operator Panel UB005 - T3" "0005 Operator Panel UW002 High T5" "0016 Node2 30002 2 T16" "Page No : 2"
expect 3 "$all" "Quillon Screens :" "Screen No.0001 Screen Name : Screen1" "Screen No.0002 Screen Name : Screen2" \
    "Screen No.0007 Screen Name : Screen7" "Page No : 3"
expect 4 "$all" "Power On Tasks :" "Write 17 to Tag 40003" "Goto Screen of number : 00001" "Global Tasks :" \
    "Global key Tasks :" "F1 : Press TaskList" "Pressed TaskList" "Released TaskList" \
    "F2 + F3 : Press TaskList" "Released TaskList" "Goto Next Screen" "Page No : 4"
expect 5 "$all" "Screen Tasks :" "Screen No:00001" "Before Showing Task:" "While Showing Task :" \
    "After Hiding Task :" "Goto Previous Screen" "Page No : 5"
expect 6 "$all" "Screen Key Tasks :" "Page No : 6"
expect 7 "$all" "Quillon Alarms :" "Alarm No. Print Alarm Text Alarm Tag" "000 N Pump failure 40003 ( T12 )" \
    "005 Y Level high 40003 ( T12 )" "050 N Door open UW001 ( T4 )" "200 N Overtemp -" "Page No : 7"
for n in 1 2 3 4 5 6 7; do
    [ "$(last_line $n "$all")" = "Page No : $n" ] || fail "page $n ends with its number"
done

# Every page against its golden picture: grey levels at 50 dots per inch, at most 1 % of the pixels off.
pdftoppm -r 50 -gray "$all" "$work/page"
python3 - "$work" "$golden" "${QUILLON_UPDATE_GOLDEN:-0}" <<'EOF' || fail "pages differ from their golden pictures"
import glob, os, struct, sys, zlib
work, golden, update = sys.argv[1], sys.argv[2], sys.argv[3] == "1"
kinds = ["info-settings-nodes", "tags", "screens", "application-tasks", "screen-tasks", "screen-keys", "alarms"]

def read_pgm(path):
    data = open(path, "rb").read()
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P5"
    w, h = int(parts[1]), int(parts[2])
    return w, h, data[len(data) - w * h:]

def write_png(path, w, h, pixels):
    raw = b"".join(b"\0" + pixels[y * w:(y + 1) * w] for y in range(h))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    open(path, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 0, 0, 0, 0))
                           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

def read_png(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            w, h, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour == 0, "an 8-bit grey PNG"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, out, prev, at = zlib.decompress(idat), bytearray(), bytearray(w), 0
    for _ in range(h):
        f, line = raw[at], bytearray(raw[at + 1:at + 1 + w])
        at += 1 + w
        for i in range(w):
            a, b, c = (line[i - 1] if i else 0), prev[i], (prev[i - 1] if i else 0)
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out += line
        prev = line
    return w, h, bytes(out)

pages = sorted(glob.glob(os.path.join(work, "page-*.pgm")))
assert len(pages) == len(kinds), "%d pages" % len(pages)
bad = []
for path, kind in zip(pages, kinds):
    w, h, px = read_pgm(path)
    target = os.path.join(golden, "page-%s.png" % kind)
    if update:
        write_png(target, w, h, px)
        continue
    gw, gh, gpx = read_png(target)
    if (gw, gh) != (w, h):
        bad.append("%s: %dx%d, golden %dx%d" % (kind, w, h, gw, gh))
        continue
    off = sum(1 for a, b in zip(px, gpx) if abs(a - b) > 64)
    if off > w * h // 100:
        bad.append("%s: %d of %d pixels differ" % (kind, off, w * h))
    # The page must not be blank where its golden picture has ink.
    if sum(1 for a in px if a < 128) < sum(1 for b in gpx if b < 128) // 2:
        bad.append("%s: the page has lost its ink" % kind)
if bad:
    sys.exit("\n".join(bad))
EOF

# Chosen sections only, numbered from 1.
run report "$work/app.ovm" "$work/two.pdf" --sections tags,alarms >"$work/out" 2>"$work/err" || fail "two sections"
[ "$(pdfinfo "$work/two.pdf" | sed -n 's/^Pages: *//p')" = 2 ] || fail "two pages"
expect 1 "$work/two.pdf" "Quillon Tags :" "Page No : 1"
expect 2 "$work/two.pdf" "Quillon Alarms :" "Page No : 2"

# A long tag list: each page starts with the heading and the titles, holds the same number of tags as
# every other full page, and the numbers run on without a gap.
python3 - "$golden/report-500.json" "$work/long.json" <<'EOF'
import json, sys
doc = json.load(open(sys.argv[1]))
tags = [{"address": "UW%03d" % (100 + i), "type": "register", "readWrite": "readWrite", "bytes": 2,
         "name": "Long%d" % i} for i in range(150)]
doc["nodes"][0]["blocks"].append({"address": "UW100", "size": 200, "name": "Long", "tags": tags})
json.dump(doc, open(sys.argv[2], "w"))
EOF
run import "$work/long.json" "$work/long.ovm" >/dev/null 2>"$work/err" || fail "import long"
run report "$work/long.ovm" "$work/long.pdf" --sections tags >"$work/out" 2>"$work/err" || fail "long tags"
pages=$(pdfinfo "$work/long.pdf" | sed -n 's/^Pages: *//p')
for n in $(seq 1 "$pages"); do page "$n" "$work/long.pdf" >"$work/long-$n.txt"; done
python3 - "$work" "$pages" <<'EOF' || fail "page breaks of the tag list"
import sys
work, pages = sys.argv[1], int(sys.argv[2])
numbers, counts = [], []
for n in range(1, pages + 1):
    lines = open("%s/long-%d.txt" % (work, n)).read().splitlines()
    assert lines[0] == "Quillon Tags :", "page %d: %r" % (n, lines[0])
    assert lines[1] == "No. Node Name Tag Bytes Tag Name", "page %d titles" % n
    assert lines[-1] == "Page No : %d" % n, "page %d: %r" % (n, lines[-1])
    body = lines[2:-1]
    counts.append(len(body))
    numbers += [int(line.split()[0]) for line in body]
assert numbers == list(range(1, 167)), "the tags run 1 to 166 without a gap"
assert len(set(counts[:-1])) == 1 and counts[-1] <= counts[0], "full pages alike: %s" % counts
assert pages == -(-166 // counts[0]), "pages %d for %d a page" % (pages, counts[0])
print("tag pages: %d of %d lines" % (pages, counts[0]))
EOF

# Refusals: exit 1, the message, and the file that was there stays as it was.
printf 'old' >"$work/keep.pdf"
if run report "$work/app.ovm" "$work/keep.pdf" --sections tags,pictures >"$work/out" 2>"$work/err"; then
    fail "an unknown section"
fi
grep -q '"pictures" is not a section of the report' "$work/err" || fail "unknown section's message"
[ "$(cat "$work/keep.pdf")" = old ] || fail "an old file overwritten by a refused report"
if run report "$work/app.ovm" "$work" >"$work/out" 2>"$work/err"; then fail "a folder as the PDF"; fi
grep -q "is a folder; name the PDF file to write." "$work/err" || fail "folder's message"
if run report "$work/app.ovm" "$work/missing/x.pdf" >"$work/out" 2>"$work/err"; then fail "a missing folder"; fi
grep -q "Can not write $work/missing/x.pdf" "$work/err" || fail "unwritable file's message"
if run report "$work/nothing.ovm" "$work/x.pdf" >"$work/out" 2>"$work/err"; then fail "a missing application"; fi
[ ! -e "$work/x.pdf" ] || fail "a report of no application"
run new --model 520 "$work/large.ovm" >/dev/null 2>"$work/err" || fail "new 520"
if run report "$work/large.ovm" "$work/x.pdf" --sections screenkeys >"$work/out" 2>"$work/err"; then
    fail "screen keys of a 520"
fi
grep -q "The screenkeys section can not be chosen for panels above model 500." "$work/err" || fail "520's message"
if run report "$work/large.ovm" "$work/x.pdf" --sections screens >"$work/out" 2>"$work/err"; then
    fail "screens of an application without screens"
fi
grep -q "Nothing to print" "$work/err" || fail "nothing to print"
[ ! -e "$work/x.pdf" ] || fail "an empty report written"
echo "cli-report: all checks passed"
