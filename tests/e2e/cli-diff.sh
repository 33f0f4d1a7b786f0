#!/usr/bin/env bash
# diff of two applications, each an application file or its text form: the report names what changed, and the
# exit status says same (0), different (1) or trouble (2).
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tool"
cp -r "$source_dir/data/plc" "$work/plc"
run() { timeout 60 "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; for f in out err; do [ -f "$work/$f" ] && cat "$work/$f"; done; exit 1; }

run new --model 500 "$work/a.ovm" >/dev/null 2>"$work/err" || fail "new"
run export "$work/a.ovm" "$work/a.json" 2>"$work/err" || fail "export"
python3 - "$work/a.json" "$work/b.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
doc["nodes"].append({"number": 1, "kind": "plc", "name": "Line PLC", "plcId": 1, "modelIndex": 1, "blocks": [
    {"address": "40001", "size": 10, "name": "Hold", "tags": [
        {"address": "40003", "type": "register", "bytes": 2, "name": "Level"}]}]})
doc["screens"].append({"number": 1, "name": "Main", "objects": [
    {"kind": "text", "left": 0, "top": 0, "right": 59, "bottom": 15, "text": "Pump 1"}]})
json.dump(doc, open(sys.argv[2], "w"), indent=2)
doc["nodes"][1]["blocks"][0]["tags"][0]["name"] = "Tank level"
doc["screens"][0]["objects"][0]["left"] = 8
doc["screens"][0]["objects"][0]["right"] = 67
doc["unitSettings"]["printerParity"] = 0
json.dump(doc, open(sys.argv[2].replace("b.json", "c.json"), "w"), indent=2)
PY
run import "$work/b.json" "$work/b.ovm" 2>"$work/err" || fail "import b"

# The same application as a file and as its text form.
run diff "$work/a.ovm" "$work/a.json" >"$work/out" 2>"$work/err" || fail "a file and its text form differ"
[ ! -s "$work/out" ] || fail "output for the same application"

# Different: exit status 1 and one line for each change, under its section.
set +e
run diff "$work/b.ovm" "$work/c.json" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "exit status $status for different applications"
cat >"$work/expected" <<'TXT'
Unit settings
  unit settings: Parity: None -> Odd
Tags
  tag "Level" (node 1, 40003): renamed to "Tank level"
Objects
  screen 1 "Main": Text at (0,0)-(59,15): moved to (8,0)-(67,15)
TXT
diff -u "$work/expected" "$work/out" || fail "report lines"

# For tools: JSON.
set +e
run diff --format json "$work/b.ovm" "$work/c.json" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "exit status $status of the JSON report"
python3 - "$work/out" <<'PY' || fail "JSON report"
import json, sys
doc = json.load(open(sys.argv[1]))
assert doc["same"] is False
changes = [(d["section"], d["change"]) for d in doc["differences"]]
assert changes == [("Unit settings", "changed"), ("Tags", "renamed"), ("Objects", "moved")], changes
assert doc["differences"][1]["after"] == "Tank level"
PY

# Trouble: a missing file, a file that is no application; exit status 2 with the reason.
set +e
run diff "$work/a.ovm" "$work/missing.ovm" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "exit status $status for a missing file"
grep -q "missing.ovm" "$work/err" || fail "no message naming the missing file"
printf 'not an application' >"$work/junk.ovm"
set +e
run diff "$work/a.ovm" "$work/junk.ovm" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "exit status $status for a file that is no application"
[ -s "$work/err" ] || fail "no message for a file that is no application"
echo '{"format": "quillon-application", "version": 1, "model": 500, "screens": [{"number": 0}]}' >"$work/bad.json"
set +e
run diff "$work/a.ovm" "$work/bad.json" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "exit status $status for a bad text form"
grep -q "/screens/0/number" "$work/err" || fail "no pointer to the bad value"
# A command line that is not whole is trouble too, not "different".
set +e
run diff "$work/a.ovm" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "exit status $status for a missing second file"
set +e
run diff --format xml "$work/a.ovm" "$work/b.ovm" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "exit status $status for an unknown format"
# Comparing leaves the user's picture library as it was: nothing is written to the working directory.
[ ! -e "$work/tool/OvmPctrs.ovp" ] || fail "the comparison made a picture library in the working directory"
echo "ok"
