#!/usr/bin/env bash
# `simulate` as a panel project's regression test uses it: a scenario application made from its text form,
# scripts whose expectations hold (exit 0) and fail (exit 1, the failing line named), the trace, snapshots
# of the live display, and the refusals of bad scripts and options.
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

"$cli" simulate --help >"$work/out" || fail "simulate --help"
grep -q -- "--script" "$work/out" || fail "no --script in the help"

run new --model 500 "$work/new.ovm" >/dev/null 2>"$work/err" || fail "new"
run export "$work/new.ovm" "$work/new.json" 2>"$work/err" || fail "export"
python3 "$source_dir/tests/data/sim/plant.py" "$work/new.json" "$work/plant.json" || fail "plant.py"
run import "$work/plant.json" "$work/plant.ovm" >/dev/null 2>"$work/err" || fail "import"

# Everything the scenario expects holds.
cat >"$work/pass.txt" <<'STEPS'
# Power-on writes 5 to Level and goes to screen 1.
expect screen 1
expect Level 5
# Screen 1 adds 1 to Count, then waits 100 ms: at 0, 110, 220 ... 990 ms.
advance 1000
expect Count 10
advance 100
expect Count 11
# A 4-byte tag takes UW002 and UW003; the two 1-byte tags share UW004.
set Big 0x12345678
expect Big 305419896
set Low 0x12
set High 0xAB
expect Low 0x12
expect High 0xAB
# Key 10 holds the motor on while pressed.
press 10
advance 20
expect Motor on
release 10
expect Motor off
# Key 9 goes to screen 2, whose Before-showing list writes 100 to Level.
press 9
release 9
expect screen 2
expect Level 100
touch 70 40
expect Lamp on
touch 10 10
expect Lamp on
snapshot s2.png
# On screen 2 key 9 is a screen key: Goto Previous Screen; leaving screen 2 clears Count.
press 9
release 9
expect screen 1
expect Count 0
snapshot s1.png
STEPS
( cd "$work" && run simulate plant.ovm --script pass.txt ) >"$work/out" 2>"$work/err" || fail "passing scenario"
grep -q "all 31 steps passed" "$work/out" || fail "summary of the passing scenario"
grep -q "\[        0 ms\] screen 1 shown (Main)" "$work/out" || fail "trace of power-on"
grep -q "\[     1120 ms\] screen 2 shown (Setup)" "$work/out" || fail "trace of the screen change"
grep -q "touch area 2 at 70,40 pressed" "$work/out" || fail "trace of the touch"
grep -q "touch at 10,10 (no touch area)" "$work/out" || fail "trace of a touch beside the area"

# Snapshots: only a Qt build draws them.
if grep -q "snapshots need the Qt build" "$work/out"; then
    echo "snapshots are not in this build"
else
    [ -f "$work/s1.png" ] && [ -f "$work/s2.png" ] || fail "snapshots not written"
    python3 - "$work/s1.png" <<'PY' || fail "the bargraph of Level 100 is not full"
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
pos, idat = 8, b""
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b"IHDR":
        width, height, depth, colour = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat += body
    pos += 12 + length
channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
raw = zlib.decompress(idat)
stride = width * channels
rows, prev, at = [], bytearray(stride), 0
for _ in range(height):
    f, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
    at += 1 + stride
    for i in range(stride):
        a = line[i - channels] if i >= channels else 0
        b = prev[i]
        c = prev[i - channels] if i >= channels else 0
        if f == 1: line[i] = (line[i] + a) & 255
        elif f == 2: line[i] = (line[i] + b) & 255
        elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c; pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line); prev = line
def black(x, y): return rows[y][x * channels] == 0
# Level is 100 of 0..100 when screen 1 comes back: the bar is filled across, at 25, 50 and 90.
sys.exit(0 if all(black(x, 30) for x in (25, 50, 90)) else 1)
PY
fi

# A failing expectation: exit 1, the line named, the steps after it still run.
cat >"$work/fail.txt" <<'STEPS'
expect screen 2
expect Level 6
advance 10
STEPS
if run simulate "$work/plant.ovm" --script "$work/fail.txt" >"$work/out" 2>"$work/err"; then
    fail "a failing scenario exited 0"
fi
grep -q "FAIL line 1: screen 1 is shown, not 2" "$work/out" || fail "screen failure"
grep -q "FAIL line 2: Level is 5, not 6" "$work/out" || fail "tag failure"
grep -q "> advance 10" "$work/out" || fail "the steps after a failure did not run"
grep -q "2 of 3 steps failed" "$work/out" || fail "summary of the failing scenario"

# Steps that cannot be done are failures too (the VQ5K-822 has keys F5 to F22).
printf 'press F23\npress 4\nset Nothing 1\n' >"$work/undoable.txt"
if run simulate "$work/plant.ovm" --script "$work/undoable.txt" >"$work/out" 2>"$work/err"; then
    fail "undoable steps exited 0"
fi
grep -q "there is no key F23 on the keypad of this model" "$work/out" || fail "unknown key"
grep -q "there is no key 4 on the keypad of this model" "$work/out" || fail "a key beside the keypad"
grep -q "there is no tag Nothing" "$work/out" || fail "unknown tag"

# Keys by the names the report prints ("F9 : Press TaskList") as well as by number.
cat >"$work/names.txt" <<'STEPS'
press F9
release F9
expect screen 2
press 9
release 9
expect screen 1
STEPS
( cd "$work" && run simulate plant.ovm --script names.txt ) >"$work/out" 2>"$work/err" || fail "keys by name"
grep -q "all 6 steps passed" "$work/out" || fail "summary of the key names"
grep -q "\] F9 pressed" "$work/out" || fail "the trace names the key F9"
# A key without tasks says so in the trace.
printf 'press F11\nrelease F11\n' >"$work/nothing.txt"
( cd "$work" && run simulate plant.ovm --script nothing.txt ) >"$work/out" 2>"$work/err" || fail "keys that do nothing"
grep -q "F11 pressed: no tasks" "$work/out" || fail "a key that does nothing says why"

# Refusals before anything runs: a bad step, a missing script, bad options, a missing file.
expect_refusal() {
    local message="$1"
    shift
    if run "$@" >"$work/out" 2>"$work/err"; then fail "accepted: $*"; fi
    grep -qF "$message" "$work/err" || fail "message for $*: wanted \"$message\""
}
printf 'expect screen 1\njump 3\n' >"$work/bad.txt"
expect_refusal "line 2: not a step" simulate "$work/plant.ovm" --script "$work/bad.txt"
printf 'advance -5\n' >"$work/bad.txt"
expect_refusal "line 1: the time is 0 to 86400000 milliseconds: advance -5" simulate "$work/plant.ovm" \
    --script "$work/bad.txt"
expect_refusal "Can not read the script" simulate "$work/plant.ovm" --script "$work/missing.txt"
expect_refusal "The scan time is 1 to 1000 milliseconds, not 0." simulate "$work/plant.ovm" --script \
    "$work/pass.txt" --scan 0
expect_refusal "The clock is set as YYYY-MM-DD HH:MM:SS" simulate "$work/plant.ovm" --script "$work/pass.txt" \
    --clock "2000-02-30 00:00:00"
expect_refusal "Can not load $work/missing.ovm" simulate "$work/missing.ovm" --script "$work/pass.txt"

# Times are milliseconds in decimal digits, in the script and on the command line.
printf 'advance 0x10\n' >"$work/bad.txt"
expect_refusal "line 1: the time is a number of milliseconds in decimal digits: advance 0x10" simulate \
    "$work/plant.ovm" --script "$work/bad.txt"
printf 'advance +5\n' >"$work/bad.txt"
expect_refusal "line 1: the time is a number of milliseconds in decimal digits" simulate "$work/plant.ovm" \
    --script "$work/bad.txt"
expect_refusal "is no number of milliseconds (decimal digits only)" simulate "$work/plant.ovm" --script \
    "$work/pass.txt" --scan 0x0A
expect_refusal "is no number of milliseconds (decimal digits only)" simulate "$work/plant.ovm" --script \
    "$work/pass.txt" --max-time 0b11

# The simulated time a script may take: a day unless --max-time says otherwise (1 ms to 30 days); a script
# that would take more is refused before anything runs.
printf 'advance 86400000\nadvance 86400000\n' >"$work/long.txt"
expect_refusal "moves the clock by 172800000 ms, more than the most simulated time of 86400000 ms (--max-time)." \
    simulate "$work/plant.ovm" --script "$work/long.txt"
printf 'advance 990\ntouch 1 1\n' >"$work/short.txt"
run simulate "$work/plant.ovm" --script "$work/short.txt" --max-time 1000 >"$work/out" 2>"$work/err" ||
    fail "a script of exactly --max-time (990 ms and a tap's scan of 10) was refused"
expect_refusal "moves the clock by 1000 ms, more than the most simulated time of 999 ms" simulate \
    "$work/plant.ovm" --script "$work/short.txt" --max-time 999
expect_refusal "The most simulated time (--max-time) is 1 to 2592000000 milliseconds, not 0." simulate \
    "$work/plant.ovm" --script "$work/short.txt" --max-time 0
expect_refusal "not 2592000001." simulate "$work/plant.ovm" --script "$work/short.txt" --max-time 2592000001

echo "cli-simulate: all checks passed"
