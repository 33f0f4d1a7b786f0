#!/usr/bin/env bash
# Defines alarms in the discrete tag mode and the logger through the real window under a virtual X display. The
# starting application (twenty registers of the unit's own node) is imported from its text form, since the
# window builds it without the tag editor; the saved file is then checked with quillon-cli and its text form
# is searched for what the dialogs set.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-alarms "$@"
run="$scratch"


bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

# The unit's block UW000 with the registers UW000 .. UW019, named W0 .. W19. UW000 is the unit's first tag.
python3 - "$run/work/start.json" <<'PY'
import json, sys
tags = [{"address": "UW%03d" % i, "type": "register", "readWrite": "readWrite", "bytes": 2, "name": "W%d" % i}
        for i in range(20)]
doc = {"format": "quillon-application", "version": 1, "model": 500,
       "nodes": [{"number": 0, "kind": "unit", "name": "Operator Panel", "plcId": 0, "modelIndex": 1,
                  "modelCode": "5", "blocks": [{"address": "UW000", "size": 32, "name": "Words", "tags": tags}]}],
       "powerOnTasks": [{"kind": "gotoScreen", "value": 1}],
       "screens": [{"number": 1, "name": "Main"}]}
json.dump(doc, open(sys.argv[1], "w"))
PY
"$cli" import "$run/work/start.json" "$run/work/Result/alarms.ovm"
saved="$run/work/Result/alarms.ovm"
shot="$build/gui-alarms-logger.png"
rm -f "$shot"

unit_first='The first Tag of the unit itself (node 0, block 0, tag 0) can not watch an alarm group:\nits reference is four zero bytes, which the file and the unit read as '"'"'no Tag'"'"'.\nChoose another Tag, or define another Tag before it in the unit'"'"'s first block.'

# First session: a new alarm record opens in the discrete mode, the one every model offers; two alarms of the
# first group, each accepted with Return from the field the user is in, then the logger; save.
printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $saved" \
  "menu Define/Alarms..." \
  "wait-dialog Quillon : Alarms" \
  "alarm-lines -" \
  "button Add" \
  "type Pump fault" \
  "key Return" \
  "wait-dialog Quillon : Error" \
  "wait-text Tag(s) not selected." \
  "button OK" \
  "wait-dialog Quillon : Alarms" \
  "alarm-choose groupTag W0 ( UW000 )" \
  "button Accept" \
  "wait-dialog Quillon : Error" \
  "wait-text $unit_first" \
  "button OK" \
  "wait-dialog Quillon : Alarms" \
  "alarm-choose groupTag W1 ( UW001 )" \
  "button Accept" \
  "alarm-lines 000\tN\tPump fault" \
  "button Add" \
  "type Overflow" \
  "button Print" \
  "key Return" \
  "alarm-lines 000\tN\tPump fault | 001\tY\tOverflow" \
  "button Ok" \
  "context-menu Logger..." \
  "wait-dialog Quillon : Logger" \
  "logger-choose definedTags W3 ( UW003 )" \
  "button <- Add" \
  "logger-choose definedTags W7 ( UW007 )" \
  "button <- Add" \
  "logger-lines loggedTags W3 ( UW003 ) | W7 ( UW007 )" \
  "logger-choose loggedTags W7 ( UW007 )" \
  "button Move Up" \
  "logger-lines loggedTags W7 ( UW007 ) | W3 ( UW003 )" \
  "logger-choose memorySize 3 KB" \
  "button Minutes" \
  "button FIFO ( To add recent data remove data at the start )" \
  "button Start Logging at Power-up" \
  "logger-choose separator  ( Space )" \
  "button Embed Time" \
  "button Embed / Edit Register" \
  "wait-dialog Page Header : Embed Register" \
  "logger-choose registers W9 ( UW009 )" \
  "button OK" \
  "wait-dialog Quillon : Logger" \
  "logger-header HH:MM:SS#####" \
  "button Embed Date" \
  "logger-header HH:MM:SS#####DD:MM:YY" \
  "button Close" \
  "menu File/Save" \
  "screenshot $shot" \
  "quit" >"$run/script1.txt"

out=$(timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --no-splash --script "$run/script1.txt" 2>"$run/stderr1.txt") || {
  echo "$out"
  echo "gui-alarms: the first scripted session failed" >&2
  cat "$run/stderr1.txt" >&2
  exit 1
}
echo "$out"
"$cli" check "$saved"
"$cli" export "$saved" "$run/first.json"

# Second session: the discrete mode, refusals of the group tag, a delete; the logger is kept.
printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $saved" \
  "menu Define/Alarms..." \
  "wait-dialog Quillon : Alarms" \
  "alarm-lines 000\tN\tPump fault | 001\tY\tOverflow" \
  "button Discrete" \
  "alarm-edit 0" \
  "alarm-choose groupTag W0 ( UW000 )" \
  "button Accept" \
  "wait-dialog Quillon : Error" \
  "wait-text $unit_first" \
  "button OK" \
  "wait-dialog Quillon : Alarms" \
  "alarm-choose groupTag W2 ( UW002 )" \
  "button Accept" \
  "button Add" \
  "alarm-choose group 02  [ 016 - 030 ]" \
  "type Level high" \
  "alarm-choose groupTag W2 ( UW002 )" \
  "button Accept" \
  "wait-dialog Quillon : Error" \
  'wait-text This Tag is already assigned to any other group.\nFor 16 groups, 16 different Tags are required.' \
  "button OK" \
  "wait-dialog Quillon : Alarms" \
  "alarm-choose groupTag W4 ( UW004 )" \
  "button Accept" \
  "alarm-lines 000\tN\tPump fault | 001\tY\tOverflow | 016\tN\tLevel high" \
  "alarm-edit 1" \
  "button Discard" \
  "alarm-choose alarmList 001    Y    Overflow" \
  "button Delete" \
  "wait-dialog Quillon : Confirmation" \
  "wait-text Are you sure to delete the selected Alarm?" \
  "button Yes" \
  "wait-dialog Quillon : Alarms" \
  "alarm-lines 000\tN\tPump fault | 016\tN\tLevel high" \
  "button Ok" \
  "context-menu Logger..." \
  "wait-dialog Quillon : Logger" \
  "logger-lines loggedTags W7 ( UW007 ) | W3 ( UW003 )" \
  "logger-header HH:MM:SS#####DD:MM:YY" \
  "key Escape" \
  "menu File/Save" \
  "quit" >"$run/script2.txt"

out=$(timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --no-splash --script "$run/script2.txt" 2>"$run/stderr2.txt") || {
  echo "$out"
  echo "gui-alarms: the second scripted session failed" >&2
  cat "$run/stderr2.txt" >&2
  exit 1
}
echo "$out"
"$cli" check "$saved"
"$cli" export "$saved" "$run/second.json"

python3 - "$run/first.json" "$run/second.json" <<'PY'
import json, sys
first = json.load(open(sys.argv[1]))
second = json.load(open(sys.argv[2]))
def fail(message):
    print("gui-alarms: " + message, file=sys.stderr)
    sys.exit(1)
def texts(doc):
    return [(t["alarm"], t["options"], t["text"]) for t in doc["alarms"]["texts"]]
def group_tags(doc):
    return {g["group"]: g["tag"]["address"] for g in doc["alarms"]["groups"] if g.get("tag")}
a = first["alarms"]
if a is None or a["tagMode"] != 1:
    fail("first session: the alarms are not in the discrete mode: %s" % a)
if texts(first) != [(0, 0, "Pump fault"), (1, 1, "Overflow")]:
    fail("first session texts: %s" % texts(first))
tags = group_tags(first)
if tags != {0: "UW001"}:
    fail("first session group tags: %s" % tags)
l = first["logger"]
want = {"memorySize": 2, "frequency": 10, "frequencyUnit": 1, "whenFull": 1, "startAtPowerUp": 1, "separator": " "}
for key, value in want.items():
    if l[key] != value:
        fail("logger %s is %r, not %r" % (key, l[key], value))
if [t["address"] for t in l["tags"]] != ["UW007", "UW003"]:
    fail("logged tags: %s" % l["tags"])
if l["pageHeader"] != "\u0001" * 8 + "\u0003" * 5 + "\u0002" * 8:
    fail("page header: %r" % l["pageHeader"])
if (l.get("headerRegister") or {}).get("address") != "UW009":
    fail("header register: %s" % l.get("headerRegister"))
b = second["alarms"]
if b["tagMode"] != 1:
    fail("second session: not discrete: %s" % b["tagMode"])
if texts(second) != [(0, 0, "Pump fault"), (16, 0, "Level high")]:
    fail("second session texts: %s" % texts(second))
tags = group_tags(second)
if tags != {0: "UW002", 1: "UW004"}:
    fail("second session group tags: %s" % tags)
if second["logger"] != first["logger"]:
    fail("the logger changed on reopening: %s" % second["logger"])
print("gui-alarms: the alarms, their group tags and the logger are in the saved file")
PY
echo "gui-alarms: ok, screenshot in $shot"
