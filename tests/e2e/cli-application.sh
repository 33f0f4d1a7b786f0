#!/usr/bin/env bash
# The application commands as a script uses them: new, info, check, export and import, the two round trips
# of the text form, and refused inputs (malformed JSON, damaged application files) with exit code 1.
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

for command in new info check dump export import; do
    "$cli" "$command" --help | grep -q "Usage:" || fail "$command --help"
done

# new on every model, then info, check and both round trips.
for model in 10 12 15 20 30 40 41 42 480 500 510 520; do
    app="$work/m$model.ovm"
    run new --model "$model" "$app" >"$work/out" 2>"$work/err" || fail "new --model $model"
    [ -s "$app" ] || fail "no file for model $model"
    run info "$app" >"$work/out" 2>"$work/err" || fail "info $model"
    grep -q "^Model  *$model " "$work/out" || fail "info model line $model"
    grep -q "^Nodes  *1$" "$work/out" || fail "info: the unit's node"
    grep -q "^Power-on tasks  *1$" "$work/out" || fail "info: the power-on task"
    grep -q "^Memory check  *passes$" "$work/out" || fail "info: memory check"
    run check "$app" >"$work/out" 2>"$work/err" || fail "check of a new application"

    run export "$app" "$work/m$model.json" 2>"$work/err" || fail "export $model"
    run import "$work/m$model.json" "$work/m$model-back.ovm" 2>"$work/err" || fail "import $model"
    cmp -s "$app" "$work/m$model-back.ovm" || fail ".ovm -> json -> .ovm differs for model $model"
    run export "$work/m$model-back.ovm" "$work/m$model-again.json" || fail "export again $model"
    cmp -s "$work/m$model.json" "$work/m$model-again.json" || fail "json -> .ovm -> json differs for $model"
done
grep -q '"gotoScreen"' "$work/m40.json" || fail "the power-on task is not in the text form"

# A new application of the model with the default keys has them in its text form.
grep -q '"globalKeys": \[\]' "$work/m10.json" && fail "model 10 lost its default keys"

# An edit in the text form is a small change, and it reaches the application file.
sed 's/"title": ""/"title": "Boiler house"/' "$work/m500.json" >"$work/edited.json"
[ "$(diff "$work/m500.json" "$work/edited.json" | grep -c '^[<>]')" -eq 2 ] || fail "one edit, one changed line"
run import "$work/edited.json" "$work/edited.ovm" || fail "import of an edited document"
run info "$work/edited.ovm" | grep -q "^Title  *Boiler house$" || fail "edited title"

# Malformed JSON: the place and the reason, exit 1, and no application file left behind.
printf '{"format": "quillon-application", "version": 1,' >"$work/cut.json"
if run import "$work/cut.json" "$work/cut.ovm" 2>"$work/err"; then fail "cut JSON accepted"; fi
grep -q "cut.json: The document is not valid JSON: " "$work/err" || fail "message for cut JSON"
[ ! -e "$work/cut.ovm" ] || fail "a partial application file was written"
sed 's/"model": 500/"model": 501/' "$work/m500.json" >"$work/bad.json"
if run import "$work/bad.json" "$work/bad.ovm" 2>"$work/err"; then fail "model 501 accepted"; fi
grep -q "bad.json: /model: is no panel model" "$work/err" || fail "message for model 501"
cp "$work/m500.ovm" "$work/keep.ovm"
if run import "$work/bad.json" "$work/keep.ovm" 2>/dev/null; then fail "bad import over a file"; fi
cmp -s "$work/m500.ovm" "$work/keep.ovm" || fail "a refused import changed the existing file"
if run import "$work/nowhere.json" "$work/x.ovm" 2>"$work/err"; then fail "missing JSON accepted"; fi

# Damaged application files: the reader's report, exit 1.
head -c 60 "$work/m500.ovm" >"$work/short.ovm"
if run info "$work/short.ovm" >"$work/out" 2>"$work/err"; then fail "cut .ovm accepted"; fi
grep -q "Can not load" "$work/err" || fail "message for a cut .ovm"
printf 'not an application' >"$work/text.ovm"
if run export "$work/text.ovm" "$work/text.json" 2>"$work/err"; then fail "text file read as .ovm"; fi
[ ! -e "$work/text.json" ] || fail "export wrote a file for a refused .ovm"
if run check "$work/missing.ovm" 2>/dev/null; then fail "missing .ovm"; fi

# The rich applications of the reader's corpus (every record kind, on every model) go both ways unchanged.
cp "$work/plc/0001_001.plc" "$work/plc/0029_001.plc" # the PLC the corpus's network uses
for list in orvk_all.PLC orvk_sel.PLC; do echo "Packed Modbus|29|" >>"$work/plc/$list"; done # and selects
for model in 10 12 15 20 30 40 41 42 480 500 510 520; do
    rich="$source_dir/fuzz/corpus/OvmReaderFuzz/rich_$model.ovm"
    run --password Fz9 export "$rich" "$work/r$model.json" 2>"$work/err" || fail "export rich $model"
    run import "$work/r$model.json" "$work/r$model.ovm" 2>"$work/err" || fail "import rich $model"
    # The kept corpus files store a register bit's address in the older form that repeats its suffix
    # ("R0006_02" with bit 2); the import stores it once, so the first round may change those bytes and
    # nothing the application means. From then on the file goes both ways byte for byte.
    run --password Fz9 diff "$rich" "$work/r$model.ovm" >"$work/out" 2>"$work/err" ||
        fail "rich .ovm -> json -> .ovm differs for model $model"
    run --password Fz9 export "$work/r$model.ovm" "$work/r$model-again.json" 2>"$work/err" || fail "re-export $model"
    run import "$work/r$model-again.json" "$work/r$model-again.ovm" 2>"$work/err" || fail "re-import $model"
    cmp -s "$work/r$model.ovm" "$work/r$model-again.ovm" || fail "rich .ovm -> json -> .ovm differs for model $model"
    run --password Fz9 export "$work/r$model-again.ovm" "$work/r$model-third.json" 2>"$work/err" ||
        fail "third export $model"
    cmp -s "$work/r$model-again.json" "$work/r$model-third.json" || fail "rich json -> .ovm -> json differs for $model"
done
# Writing and reading leave their traces of tag codes in the working directory, one line per code.
[ -f "$work/tool/DtoI.txt" ] || fail "no DtoI.txt in the working directory after writing"
grep -q "^[0-9]\{5\} [0-9]\{3\} .* [A-Za-z] [0-9]\{3\} [0-9]\{3\} [0-9]\{3\}$" "$work/tool/DtoI.txt" ||
    fail "DtoI.txt holds no tag code line"
grep -q "^ *[0-9]\{1,5\}  *[0-9]\{1,3\}  *[^ ]*  *[A-Za-z]  *[0-9]\{1,3\}  *[0-9]\{1,3\}  *[0-9]\{1,3\}$" \
    "$work/tool/ItoD.txt" || fail "ItoD.txt holds no tag code line"

if run export "$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm" "$work/nopass.json" 2>"$work/err"; then
    fail "a protected file exported without its password"
fi
grep -q -- "--password" "$work/err" || fail "no hint at --password"

# The editors' rules hold for imported and checked applications: no tag twice (same node, address, bit and
# byte selector), no touch areas while the unit settings select no touch screen.
python3 - "$work/r500.json" "$work/twice.json" "$work/notouch.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
twice = json.loads(json.dumps(d))
tags = twice["nodes"][1]["blocks"][0]["tags"]
again = dict(tags[0])
again["name"] = "Again"
tags.append(again)
json.dump(twice, open(sys.argv[2], "w"))
d["unitSettings"]["touchScreen"] = 0
json.dump(d, open(sys.argv[3], "w"))
PY
if run import "$work/twice.json" "$work/twice.ovm" 2>"$work/err"; then fail "a tag defined twice imported"; fi
grep -qxF "$work/twice.json: Tag 00005 of node 1: This tag is already defined." "$work/err" ||
    fail "import: message for a tag defined twice"
[ ! -e "$work/twice.ovm" ] || fail "import wrote a file with a tag defined twice"
if run import "$work/notouch.json" "$work/notouch.ovm" 2>"$work/err"; then fail "touch areas without touch screen"; fi
grep -q "Screen(s) have Touch-screen object(s). The unit settings select no touch screen.$" "$work/err" ||
    fail "import: message for touch areas without touch screen"
[ ! -e "$work/notouch.ovm" ] || fail "import wrote a file with touch areas but no touch screen"
# The same in application files: the touch-screen setting byte cleared, a tag's address made its neighbour's.
python3 - "$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm" "$work/broken.ovm" <<'PY'
import sys
b = bytearray(open(sys.argv[1], "rb").read())
b[50 + 8 + 1] = 0                  # settings: the second unit setting byte, the touch screen
at = b.index(b"UW002")             # the unit's byte tag: now a second UW001 word, byte selector 0
b[at:at + 5] = b"UW001"
b[at - 1] = 0
open(sys.argv[2], "wb").write(b)
PY
if run --password Fz9 check "$work/broken.ovm" >"$work/out" 2>"$work/err"; then fail "check passed broken rules"; fi
grep -qxF "Tag UW001 of node 0: This tag is already defined." "$work/err" || fail "check: tag defined twice"
grep -q "Screen(s) have Touch-screen object(s). The unit settings select no touch screen.$" "$work/err" ||
    fail "check: touch areas without touch screen"

# check lists every problem, not only the first: without its trailing names section every tag lacks a name.
run --password Fz9 check "$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm" >"$work/out" 2>"$work/err" ||
    fail "check of a rich application"
size="$(od -An -tu4 -N4 "$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm" | tr -d ' ')"
head -c "$size" "$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm" >"$work/nonames.ovm"
if run --password Fz9 check "$work/nonames.ovm" >"$work/out" 2>"$work/err"; then fail "check passed unnamed tags"; fi
[ "$(grep -c "has no name" "$work/err")" -gt 5 ] || fail "check: not every unnamed tag listed"
grep -q "^Tag 40003 of node 1 has no name.$" "$work/err" || fail "check: the tag's address and node"
grep -qx "Tag's name not defined" "$work/err" || fail "check: the preparation's own message"

# dump: every section with its offsets; a damaged image is mapped as far as it goes, then refused.
run dump "$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm" >"$work/out" 2>"$work/err" || fail "dump rich"
for section in Header Settings Network "Global read list" "Power-on tasks" "Global tasks" "Global keys" Screens \
    Alarms Logger Pictures Extension End; do
    grep -q "  == $section" "$work/out" || fail "dump: no $section section"
done
grep -q "^00000000  0004    applicationSize  *[0-9]" "$work/out" || fail "dump: header field"
grep -q "kind  *3 (dataEntryRegister)" "$work/out" || fail "dump: object kind"
grep -q "password (set)" "$work/out" || fail "dump: password shown as set"
grep -q "Fz9" "$work/out" && fail "dump shows the password"
# Every object record field by field, each tag reference with the tag it names, the names section and the
# logger settings of the extension section; --raw adds each record's bytes.
grep -q "^000003B3  0004      tag code  *01 02 00 00$" "$work/out" || fail "dump: an object's tag code"
grep -q "^000003B3  0000      tag  *\"T15\" 40104 (node 1)$" "$work/out" || fail "dump: the tag behind a code"
grep -q "^00000407  000B      text  *\"Tank level\"$" "$work/out" || fail "dump: a text object's text"
grep -q "lowLimit  *5$" "$work/out" || fail "dump: a data entry's low limit"
grep -q "second operand  *-2$" "$work/out" || fail "dump: a signed operand"
grep -q "group tag  *node 1, block 1, index 2 -> \"T12\" 40003 (node 1)$" "$work/out" || fail "dump: alarm group tag"
grep -q "task  *Write 17 to Tag 40003$" "$work/out" || fail "dump: a task as the lists show it"
grep -q "author  *\"Quillon tests\"$" "$work/out" || fail "dump: the author in the names section"
grep -q "node 0 UW001 name  *\"T4\"$" "$work/out" || fail "dump: a tag's name in the names section"
grep -q "^00000D95  -- logger settings$" "$work/out" || fail "dump: the logger settings"
grep -q "logged tag  *node 1, block 1, index 2 -> \"T12\"" "$work/out" || fail "dump: a logged tag"
grep -q " raw " "$work/out" && fail "dump shows raw rows without --raw"
run dump --raw "$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm" >"$work/out" 2>"$work/err" || fail "dump --raw"
grep -q "^0000039D  0010      raw  *2F 00 00 00 03 00 00 10 00 3B 00 1F 00 01 00 02$" "$work/out" ||
    fail "dump --raw: the first object's bytes"
if run dump "$work/short.ovm" >"$work/out" 2>"$work/err"; then fail "dump of a cut .ovm succeeded"; fi
grep -q "short.ovm: The image ends at offset 60 inside" "$work/err" || fail "dump: message for a cut .ovm"
grep -q "  == Settings" "$work/out" || fail "dump: the part before the cut"
if run dump "$work/text.ovm" >/dev/null 2>"$work/err"; then fail "dump of a text file succeeded"; fi
if run dump "$work/missing.ovm" >/dev/null 2>"$work/err"; then fail "dump of a missing file succeeded"; fi
grep -q "Can not open" "$work/err" || fail "dump: message for a missing file"

# Bad model for new.
if run new --model 7 "$work/m7.ovm" 2>"$work/err"; then fail "model 7 accepted"; fi
grep -q "^7 is no panel model" "$work/err" || fail "message for model 7"
echo "ok"
