#!/usr/bin/env bash
# Bad input through the command-line tool: output paths that are no regular file, text forms and
# application files that would once end the program or pass unnoticed. Each is refused with a message and
# exit code 1, or handled, and leaves nothing half-written.
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
run new --model 40 "$work/app.ovm" >/dev/null 2>&1 || fail "new"

# Output targets that are no regular file: a pipe is written to (and stays a pipe), a link to a pipe is the
# pipe, a link to a file replaces the file and keeps the link, a folder is refused and left as it was.
mkfifo "$work/pipe"
cat "$work/pipe" >"$work/from-pipe" &
reader=$!
run export "$work/app.ovm" "$work/pipe" 2>"$work/err" || fail "export to a pipe"
wait "$reader"
[ -p "$work/pipe" ] || fail "the pipe was replaced"
grep -q '"format": "quillon-application"' "$work/from-pipe" || fail "the pipe did not get the text form"
ln -s "$work/pipe" "$work/to-pipe"
cat "$work/pipe" >"$work/from-link" &
reader=$!
run export "$work/app.ovm" "$work/to-pipe" 2>"$work/err" || fail "export through a link to a pipe"
wait "$reader"
[ -L "$work/to-pipe" ] && [ -p "$work/pipe" ] || fail "the link or the pipe was replaced"
cmp -s "$work/from-pipe" "$work/from-link" || fail "the link to the pipe got other bytes"
echo old >"$work/real.json"
ln -s "$work/real.json" "$work/to-real.json"
run export "$work/app.ovm" "$work/to-real.json" 2>"$work/err" || fail "export through a link to a file"
[ -L "$work/to-real.json" ] || fail "the link was replaced"
cmp -s "$work/real.json" "$work/from-pipe" || fail "the linked file did not get the text form"
mkdir "$work/folder.json"
if run export "$work/app.ovm" "$work/folder.json" 2>"$work/err"; then fail "export onto a folder succeeded"; fi
grep -q "It is a folder, not a file." "$work/err" || fail "no message for a folder"
[ -d "$work/folder.json" ] || fail "the folder was replaced"
ls -A "$work" | grep -q '^\.folder' && fail "a temporary file was left beside the folder"
# new, tags export and import share the writer.
mkfifo "$work/pipe2"
cat "$work/pipe2" >"$work/from-new" &
reader=$!
run new --model 40 "$work/pipe2" >/dev/null 2>"$work/err" || fail "new into a pipe"
wait "$reader"
[ -p "$work/pipe2" ] && [ -s "$work/from-new" ] || fail "new replaced the pipe or wrote nothing"
if run new --model 40 "$work/folder.json" >/dev/null 2>"$work/err"; then fail "new onto a folder succeeded"; fi

# Images whose header disagrees with their records: the reader refuses them, so check, dump, export,
# report and simulate all say so and exit 1 (the byte map shows where they go wrong).
cp "$work/plc/0001_001.plc" "$work/plc/0029_001.plc" # the PLC the corpus's network uses
for list in orvk_all.PLC orvk_sel.PLC; do echo "Packed Modbus|29|" >>"$work/plc/$list"; done # and selects
rich="$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm"
run --password Fz9 check "$rich" >"$work/out" 2>"$work/err" || fail "check of the rich application"
run dump "$rich" >"$work/map" 2>"$work/err" || fail "dump of the rich application"
# mutate FIELD-PATTERN VALUE BYTES OUT: sets the first field of the map matching the pattern.
mutate() {
    python3 - "$rich" "$work/map" "$1" "$2" "$3" "$4" <<'PY'
import re, sys
image, mapfile, pattern, value, size, out = sys.argv[1:7]
data = bytearray(open(image, "rb").read())
for line in open(mapfile):
    m = re.match(r"^([0-9A-F]{8})  [0-9A-F]{4}  +" + pattern + r" ", line)
    if m:
        at = int(m.group(1), 16)
        data[at:at + int(size)] = int(value).to_bytes(int(size), "little")
        break
else:
    sys.exit("no field " + pattern)
open(out, "wb").write(data)
PY
}
mutate "beforeShowing bytes" 65535 2 "$work/list.ovm"
# the first recordLength of the map is a tag's (one byte); objects' are four bytes, indented by two
python3 - "$rich" "$work/map" "$work/object.ovm" <<'PY'
import re, sys
data = bytearray(open(sys.argv[1], "rb").read())
for line in open(sys.argv[2]):
    m = re.match(r"^([0-9A-F]{8})  0004      recordLength ", line)
    if m:
        at = int(m.group(1), 16)
        data[at:at + 4] = (1).to_bytes(4, "little")
        break
open(sys.argv[3], "wb").write(data)
PY
mutate "networkBytes" 380 4 "$work/network.ovm"
for broken in list object network; do
    file="$work/$broken.ovm"
    if run --password Fz9 check "$file" >"$work/out" 2>"$work/err"; then fail "check passed the $broken mutant"; fi
    grep -q "FileOpen_Error:" "$work/err" || fail "check: no report for the $broken mutant"
    if run dump "$file" >"$work/out" 2>"$work/err"; then fail "dump passed the $broken mutant"; fi
    if run --password Fz9 export "$file" "$work/$broken.json" 2>"$work/err"; then fail "export of the $broken mutant"; fi
    [ ! -e "$work/$broken.json" ] || fail "export wrote the $broken mutant"
    if run --password Fz9 report "$file" "$work/$broken.pdf" >/dev/null 2>&1; then fail "report of the $broken mutant"; fi
    printf 'advance 10\n' >"$work/steps.txt"
    if run --password Fz9 simulate "$file" --script "$work/steps.txt" >/dev/null 2>&1; then
        fail "simulate ran the $broken mutant"
    fi
done
run --password Fz9 check "$work/list.ovm" >/dev/null 2>"$work/err" || true
grep -q "A screen's task list took [0-9]* bytes where the header gives 65535." "$work/err" ||
    fail "list mutant: what disagrees"
run --password Fz9 check "$work/network.ovm" >/dev/null 2>"$work/err" || true
grep -q "The network took 381 bytes where the header gives 380." "$work/err" || fail "network mutant: what disagrees"
run --password Fz9 check "$work/object.ovm" >/dev/null 2>"$work/err" || true
grep -q "An object record took [0-9]* bytes where its length gives 1." "$work/err" ||
    fail "object mutant: what disagrees"

# A tag whose type and read-write bytes are no known code: check names them, export writes a text form
# that is valid JSON and reads back to the same bytes.
python3 - "$rich" "$work/map" "$work/codes.ovm" <<'PY'
import re, sys
data = bytearray(open(sys.argv[1], "rb").read())
for line in open(sys.argv[2]):
    m = re.match(r"^([0-9A-F]{8})  0001        type ", line)
    if m:
        at = int(m.group(1), 16)
        data[at] = 0xFF
        data[at + 1] = 0xFF
        break
open(sys.argv[3], "wb").write(data)
PY
if run --password Fz9 check "$work/codes.ovm" >"$work/out" 2>"$work/err"; then fail "check passed unknown tag codes"; fi
grep -q "has the type code 0xFF, which is no tag type." "$work/err" || fail "check: unknown type code"
grep -q "has the read-write code 0xFF" "$work/err" || fail "check: unknown read-write code"
run --password Fz9 export "$work/codes.ovm" "$work/codes.json" 2>"$work/err" || fail "export of unknown tag codes"
python3 -c 'import json, sys; json.load(open(sys.argv[1], encoding="utf-8"))' "$work/codes.json" ||
    fail "the text form of unknown codes is no JSON"
ls -A "$work" | grep -q '^\.codes\.json\.' && fail "export left a temporary file"

# Numbers no double holds and keys given twice: refused with a message, nothing written.
run export "$work/app.ovm" "$work/app.json" 2>"$work/err" || fail "export of a new application"
for number in 1e400 -1e400 "$(head -c 100000 /dev/zero | tr '\0' 9)"; do
    python3 - "$work/app.json" "$work/huge.json" "$number" <<'PY'
import sys
text = open(sys.argv[1], encoding="utf-8").read()
open(sys.argv[2], "w", encoding="utf-8").write(text.replace('"version": 1,', '"version": 1, "extra": ' + sys.argv[3] + ",", 1))
PY
    rc=0
    run import "$work/huge.json" "$work/huge.ovm" >/dev/null 2>"$work/err" || rc=$?
    [ "$rc" = 1 ] || fail "import of the number ${number:0:8}: exit $rc"
    grep -q "The document is not valid JSON" "$work/err" || fail "no message for the number ${number:0:8}"
    [ ! -e "$work/huge.ovm" ] || fail "import wrote a file for the number ${number:0:8}"
done
python3 - "$work/app.json" "$work/twice.json" <<'PY'
import sys
text = open(sys.argv[1], encoding="utf-8").read()
open(sys.argv[2], "w", encoding="utf-8").write(text.replace('"model": 40,', '"model": 40,\n  "model": 10,', 1))
PY
if run import "$work/twice.json" "$work/twice.ovm" >/dev/null 2>"$work/err"; then fail "a key given twice was taken"; fi
grep -q 'line 5: the key "model" is given twice in one object.' "$work/err" || fail "no message for a key given twice"
[ ! -e "$work/twice.ovm" ] || fail "import wrote a file for a key given twice"
echo ok
