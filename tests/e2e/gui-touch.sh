#!/usr/bin/env bash
# A touch application for the largest panel made through the window alone: a new "Orvik 520" application
# (320 x 240 display), the touch screen switched on in the unit settings, a block and a tag in the unit's own
# memory, three screens, a touch area on screen 1 that goes to screen 2, one on screen 2 that goes to screen
# 3, and a data entry on screen 3; saved. Then `quillon-cli check` finds nothing, `quillon-cli simulate`
# touches both areas and expects the screens, and the file goes down to the emulated unit and comes back
# byte for byte. Last, switching the touch screen off asks the question: No keeps it on and the areas, Yes
# deletes them.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-touch "$@"
run="$scratch"
sim="$build/quillon-unitsim"
[ -x "$sim" ] || sim="$build/apps/quillon-unitsim/quillon-unitsim"

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"
saved="$run/work/Result/touch.ovm"
shot="$build/gui-touch.png"
rm -f "$shot"

fail() {
  echo "gui-touch: $*" >&2
  for f in stderr.txt stderr2.txt out.txt sim.log; do [ -f "$run/$f" ] && cat "$run/$f" >&2; done
  exit 1
}

# Touch cells of the 320 x 240 display are 16 x 24 unit pixels with 3 pixels between rows: the click at
# (40, 40) marks the cell of column 2, row 1 (32..47, 27..50), the one at (100, 100) column 6, row 3
# (96..111, 81..104).
cat >"$run/script.txt" <<STEPS
menu File/New...
wait-dialog Quillon : New Application
key End
key Up
key Up
key Up
key Up
key Up
expect Display:|320 x 240 pixels
key Return
expect-title Quillon - [untitled]
menu Define/VQ5K Settings...
wait-dialog VQ5K's settings
check Touch-screen
choose Memory|64KB
button OK
menu Define/Network Configuration...
wait-dialog Quillon : Network Configuration
button Blocks
wait-dialog Quillon : Blocks of The Node
button Add a Block
set Block Size|10
set Block Name|Words
button Ok
expect-row blocks|Words\tUW000\t010\t0
button Close
wait-dialog Quillon : Network Configuration
button Close
menu Define/Tag database...
wait-dialog Quillon : Tags
set part1Edit|005
set Tag-Name|Setpoint
button Add
expect-row tags|Setpoint
button Close
menu Define/Screens...
wait-dialog Quillon : New Screen
key Return
menu Screen/New...
wait-dialog Quillon : New Screen
key Return
menu Screen/New...
wait-dialog Quillon : New Screen
key Return
menu Objects/Alpha-numeric Objects/Data Entry
canvas-click 12 150
wait-dialog Quillon : Data Entry
button Register
choose tag|Setpoint ( UW005 )
button OK
menu Screen/Select Screen ...
wait-dialog Quillon : Select Screen
choose screens|00002     Screen2
button OK
expect-menu Objects/Graphic Objects/Touch-screen|enabled
menu Screen/Show Touch-screen Grid
menu Objects/Graphic Objects/Touch-screen
canvas-click 100 100
wait-dialog Quillon : Touch-Screen Task-lists
task-choose Goto Screen
wait-dialog Goto Screen
choose screens|00003     Screen3
button OK
task-lines 0 Goto Screen of number : 00003
key Escape
menu Screen/Select Screen ...
wait-dialog Quillon : Select Screen
choose screens|00001     Screen1
button OK
menu Objects/Graphic Objects/Touch-screen
canvas-click 40 40
wait-dialog Quillon : Touch-Screen Task-lists
task-choose Goto Screen
wait-dialog Goto Screen
choose screens|00002     Screen2
button OK
task-lines 0 Goto Screen of number : 00002
key Escape
screenshot $shot
menu Screen/Close Screens session
menu File/Save
wait-dialog Save Quillon Application
file $saved
quit
STEPS

out=$(timeout 240 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --no-splash --script "$run/script.txt" \
  2>"$run/stderr.txt") || { echo "$out"; fail "the scripted session failed"; }
[ -s "$saved" ] || fail "nothing saved at $saved"

"$cli" --workdir "$run/work" check "$saved" >"$run/out.txt" 2>&1 || fail "check found faults"
"$cli" --workdir "$run/work" info "$saved" >"$run/out.txt"
grep -q "^Model  *520 Orvik 520" "$run/out.txt" || fail "not an Orvik 520 application"
"$cli" --workdir "$run/work" export "$saved" "$run/touch.json" >/dev/null
python3 - "$run/touch.json" <<'PY' || fail "the saved application is not what was placed"
import json, sys
doc = json.load(open(sys.argv[1]))
assert doc["unitSettings"]["touchScreen"] == 1, doc["unitSettings"]
assert doc["unitSettings"]["memoryOption"] == 3, doc["unitSettings"]
screens = {s["number"]: s for s in doc["screens"]}
assert sorted(screens) == [1, 2, 3], sorted(screens)
def touch(n):
    return [o for o in screens[n]["objects"] if o["kind"] == "touchArea"]
one, two = touch(1), touch(2)
assert len(one) == 1 and len(two) == 1, (one, two)
# One touch cell each: 16 x 24 unit pixels on the rows of 27 pixels.
assert (one[0]["left"], one[0]["top"], one[0]["right"], one[0]["bottom"]) == (32, 27, 47, 50), one[0]
assert (two[0]["left"], two[0]["top"], two[0]["right"], two[0]["bottom"]) == (96, 81, 111, 104), two[0]
assert one[0]["tasks"]["press"][0]["value"] == 2, one[0]["tasks"]
assert two[0]["tasks"]["press"][0]["value"] == 3, two[0]["tasks"]
entries = [o for o in screens[3]["objects"] if o["kind"] == "dataEntryRegister"]
assert len(entries) == 1 and entries[0]["tag"]["address"] == "UW005", screens[3]["objects"]
PY

cat >"$run/sim.txt" <<'STEPS'
expect screen 1
touch 40 40
advance 50
expect screen 2
touch 40 40
advance 50
expect screen 2
touch 100 100
advance 50
expect screen 3
STEPS
"$cli" --workdir "$run/work" simulate "$saved" --script "$run/sim.txt" >"$run/out.txt" 2>&1 ||
  fail "the simulated touches did not reach the screens"

# Down to the emulated Orvik 520 and back.
"$sim" --quiet --link "$run/unit" --model 520 --memory 64 >"$run/sim.log" 2>&1 &
unit=$!
trap 'kill $unit 2>/dev/null || true; wait $unit 2>/dev/null || true; [ -n "${KEEP:-}" ] || rm -rf "$scratch"' EXIT
for _ in $(seq 100); do [ -e "$run/unit" ] && break; sleep 0.1; done
[ -e "$run/unit" ] || fail "the emulated unit did not start"
"$cli" --workdir "$run/work" download "$saved" --port "$run/unit" >"$run/out.txt" 2>&1 || fail "download"
"$cli" --workdir "$run/work" upload "$run/back.ovm" --port "$run/unit" >"$run/out.txt" 2>&1 || fail "upload"
size="$(od -An -tu4 -N4 "$run/work/dnld_ovm.ovz" | tr -d ' ')"
[ "$(stat -c %s "$run/work/upld_ovm.ovz")" -eq "$size" ] || fail "the uploaded image is not $size bytes"
cmp -s -n "$size" "$saved" "$run/work/upld_ovm.ovz" || fail "the uploaded image differs from the saved file"
cmp -s -n "$size" "$run/work/dnld_ovm.ovz" "$run/work/upld_ovm.ovz" || fail "the uploaded image differs"

# Switching the touch screen off: No keeps it and the areas, Yes deletes the areas of both screens.
cat >"$run/script2.txt" <<STEPS
menu File/Open...
wait-dialog Open Quillon Application
file $saved
menu Define/VQ5K Settings...
wait-dialog VQ5K's settings
uncheck Touch-screen
button OK
wait-dialog Quillon : Confirmation
wait-text 2 Screen(s) have Touch-screen object(s).\nPress 'Yes' to delete Touch-screen objects in the screens.\nPress 'No' to keep Touch-screen option selected and\nnot to delete Touch-screen objects in the screens.
button No
menu Define/VQ5K Settings...
wait-dialog VQ5K's settings
expect touchScreen|checked
uncheck Touch-screen
button OK
wait-dialog Quillon : Confirmation
button Yes
menu Define/VQ5K Settings...
wait-dialog VQ5K's settings
expect touchScreen|unchecked
button OK
menu File/Save as...
wait-dialog Save Quillon Application
file $run/work/Result/untouched.ovm
quit
STEPS
out=$(timeout 240 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --no-splash --script "$run/script2.txt" \
  2>"$run/stderr2.txt") || { echo "$out"; fail "the touch-screen question session failed"; }
"$cli" --workdir "$run/work" check "$run/work/Result/untouched.ovm" >"$run/out.txt" 2>&1 || fail "check after Yes"
"$cli" --workdir "$run/work" export "$run/work/Result/untouched.ovm" "$run/untouched.json" >/dev/null
python3 - "$run/touch.json" "$run/untouched.json" <<'PY' || fail "Yes did not delete exactly the touch areas"
import json, sys
before, after = (json.load(open(p)) for p in sys.argv[1:3])
assert after["unitSettings"]["touchScreen"] == 0
for a, b in zip(before["screens"], after["screens"]):
    kept = [o for o in a["objects"] if o["kind"] != "touchArea"]
    assert b["objects"] == kept, (a["number"], b["objects"])
PY
s1=$(stat -c %s "$saved"); s2=$(stat -c %s "$run/work/Result/untouched.ovm")
echo "gui-touch: saved $s1 bytes with the touch areas, $s2 without; checked, simulated, downloaded and uploaded"
