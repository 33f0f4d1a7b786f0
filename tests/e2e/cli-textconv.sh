#!/usr/bin/env bash
# textconv under git: with `*.ovm diff=quillon` and the textconv command set, `git diff` and `git log -p` of
# an application file show the records that changed as text lines.
set -euo pipefail
build="$1"
source_dir="$2"
cli="$(cd "$build" && pwd)/quillon-cli"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
command -v git >/dev/null || { echo "git is not installed"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tool" "$work/repo"
cp -r "$source_dir/data/plc" "$work/plc"
run() { timeout 60 "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; for f in out err; do [ -f "$work/$f" ] && cat "$work/$f"; done; exit 1; }

run new --model 500 "$work/new.ovm" >/dev/null 2>"$work/err" || fail "new"
run export "$work/new.ovm" "$work/v1.json" 2>"$work/err" || fail "export"
python3 - "$work/v1.json" "$work/v2.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
doc["nodes"].append({"number": 1, "kind": "plc", "name": "Line PLC", "plcId": 1, "modelIndex": 1, "blocks": [
    {"address": "40001", "size": 10, "name": "Hold", "tags": [
        {"address": "40003", "type": "register", "bytes": 2, "name": "Level"},
        {"address": "40005", "type": "register", "bytes": 2, "name": "Speed"}]}]})
doc["screens"].append({"number": 1, "name": "Main", "objects": [
    {"kind": "text", "left": 0, "top": 0, "right": 59, "bottom": 15, "text": "Pump 1"}]})
json.dump(doc, open(sys.argv[1], "w"), indent=2)
doc["nodes"][1]["blocks"][0]["tags"][1]["name"] = "Pump speed"
doc["screens"][0]["objects"][0]["text"] = "Pump 2"
doc["info"]["lastEdited"] = "2031-05-06 07:08:09"
json.dump(doc, open(sys.argv[2], "w"), indent=2)
PY

# The view itself: one line per record, the same text for the same application.
run import "$work/v1.json" "$work/repo/line.ovm" 2>"$work/err" || fail "import v1"
run textconv "$work/repo/line.ovm" >"$work/out" 2>"$work/err" || fail "textconv"
grep -qx 'Tags: tag "Speed" (node 1, 40005) | Tag-Name: Speed | Address: 40005 | Type: Register | Byte(s): 2 | Read-Write: Read only | Attribute: 0' \
    "$work/out" || fail "tag line"
run textconv "$work/v1.json" >"$work/out2" 2>"$work/err" || fail "textconv of the text form"
cmp -s "$work/out" "$work/out2" || fail "the file and its text form give different views"
if run textconv "$work/missing.ovm" >"$work/out" 2>"$work/err"; then fail "a missing file accepted"; fi
grep -q "missing.ovm" "$work/err" || fail "no message for a missing file"

# The set-up of docs/version-control.md in a scratch repository.
cd "$work/repo"
git init -q .
git config user.email "engineer@example.invalid"
git config user.name "Panel Engineer"
echo '*.ovm diff=quillon' >.gitattributes
git config diff.quillon.textconv "'$cli' --workdir '$work/tool' textconv"
git add .gitattributes line.ovm
git commit -qm "Line 4 panel"
"$cli" --workdir "$work/tool" import "$work/v2.json" line.ovm 2>"$work/err" || fail "import v2"
git diff --no-color >"$work/out" || fail "git diff"
grep -qx -- '-Tags: tag "Speed" (node 1, 40005) | Tag-Name: Speed | Address: 40005 | Type: Register | Byte(s): 2 | Read-Write: Read only | Attribute: 0' \
    "$work/out" || fail "git diff: the old tag line"
grep -qx -- '+Tags: tag "Pump speed" (node 1, 40005) | Tag-Name: Pump speed | Address: 40005 | Type: Register | Byte(s): 2 | Read-Write: Read only | Attribute: 0' \
    "$work/out" || fail "git diff: the new tag line"
grep -q -- '^+Objects: screen 1 "Main": Text at (0,0)-(59,15) | .* | Text: Pump 2$' "$work/out" || fail "git diff: the object"
# Only what changed: two records, each one line out and one line in; the time of the save is not among them.
[ "$(grep -c '^[-+][A-Z]' "$work/out")" -eq 4 ] || fail "git diff shows more than the two changed records"
! grep -q "Binary files" "$work/out" || fail "git diff still calls the file binary"
git commit -qam "Pump speed renamed"
git log -p --no-color -1 >"$work/out" || fail "git log -p"
grep -q -- '^+Tags: tag "Pump speed"' "$work/out" || fail "git log -p shows no record lines"
echo "ok"
