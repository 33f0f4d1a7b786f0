#!/usr/bin/env bash
# The Simulate window as a test bench, on a new VQ5K-822 and a new VQ5K-452 application with their default
# keys and a data entry for Setpoint limited to 10 .. 500 (tests/data/sim/bench.py): typing 2, 5, 0 and
# Return on the keyboard writes 250 (the tag table shows it), 600 is refused with the reason in the status
# line, Escape cancels, the screen key combination goes to screen 2, and "Show touch areas" outlines the
# touch area on the picture of the window. With xdotool at hand the 822 is also driven by the real keyboard
# of the X server: keys typed, and 3 held while 4 is pressed.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-simulate-bench "$@"
run="$scratch"

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

# Red outline pixels in a PNG: at least one when $2 is "some", none when "none".
red_pixels() {
  python3 - "$1" "$2" <<'PY'
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
prev, at, red = bytearray(stride), 0, 0
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
    for x in range(width):
        r, g, bl = line[x * channels], line[x * channels + 1], line[x * channels + 2]
        red += 1 if r > 200 and g < 60 and bl < 60 else 0
    prev = line
print(f"{sys.argv[1]}: {red} red pixels")
sys.exit(0 if (red > 0) == (sys.argv[2] == "some") else 1)
PY
}

make_bench() {
  local model=$1
  "$cli" --workdir "$run/work" new --model "$model" "$run/new$model.ovm" >/dev/null
  "$cli" --workdir "$run/work" export "$run/new$model.ovm" "$run/new$model.json"
  python3 "$src/tests/data/sim/bench.py" "$run/new$model.json" "$run/bench$model.json"
  "$cli" --workdir "$run/work" import "$run/bench$model.json" "$run/work/Result/bench$model.ovm" >/dev/null
}

# The scripted keyboard: `type` and `key` go to the focused widget, the display, where the window opens.
scripted() {
  local model=$1 first=$2 second=$3 overlay=$4
  local shot="$build/gui-simulate-bench-$model.png"
  rm -f "$shot"
  printf '%s\n' \
    "menu File/Open..." \
    "wait-dialog Open Quillon Application" \
    "file $run/work/Result/bench$model.ovm" \
    "menu Utilities/Simulate..." \
    "wait-dialog Quillon : Simulate" \
    "sim-expect-screen 1" \
    "type 250" \
    "key Return" \
    "sim-expect Setpoint|250" \
    "type 600" \
    "key Return" \
    "wait-text data entry 1 (Setpoint): 600 is outside the limits 10 .. 500; not written" \
    "sim-expect Setpoint|250" \
    "key Escape" \
    "type 9" \
    "key Return" \
    "wait-text data entry 1 (Setpoint): 9 is outside the limits 10 .. 500; not written" \
    "key Escape" \
    "check Show touch areas" \
    "screenshot-dialog $shot" \
    "sim-key-down $first" \
    "sim-key $second" \
    "sim-key-up $first" \
    "sim-expect-screen 2" \
    "button Close" \
    "quit" >"$run/script$model.txt"
  out=$(timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" --no-splash --script "$run/script$model.txt" 2>"$run/stderr$model.txt") || {
    echo "$out"
    echo "gui-simulate-bench: the scripted session on model $model failed" >&2
    cat "$run/stderr$model.txt" >&2
    exit 1
  }
  echo "$out" | tail -3
  [ -s "$shot" ] || { echo "gui-simulate-bench: no picture of the window ($model)" >&2; exit 1; }
  red_pixels "$shot" "$overlay" || { echo "gui-simulate-bench: touch outline wrong on $model" >&2; exit 1; }
}

make_bench 500
make_bench 40
# The VQ5K-822: the screen key 7 + 8 (the keys with the legends 3 and 4), a touch area to outline.
scripted 500 F7 F8 some
# The VQ5K-452: keys 3 + 4; a character display has no touch areas.
scripted 40 3 4 none

# The real keyboard through the X server: the window waits for what the keys do.
if command -v xdotool >/dev/null; then
  shot="$build/gui-simulate-bench-keyboard.png"
  rm -f "$shot"
  printf '%s\n' \
    "menu File/Open..." \
    "wait-dialog Open Quillon Application" \
    "file $run/work/Result/bench500.ovm" \
    "menu Utilities/Simulate..." \
    "wait-dialog Quillon : Simulate" \
    "sim-expect Setpoint|250" \
    "wait-text data entry 1 (Setpoint): 600 is outside the limits 10 .. 500; not written" \
    "sim-expect-screen 2" \
    "screenshot-dialog $shot" \
    "button Close" \
    "quit" >"$run/keyboard.txt"
  cat >"$run/keyboard.sh" <<KEYS
set -e
"$gui" --no-splash --script "$run/keyboard.txt" >"$run/keyboard.out" 2>"$run/keyboard.err" &
app=\$!
command -v openbox >/dev/null && { openbox >/dev/null 2>&1 & }
for _ in \$(seq 100); do
  w=\$(xdotool search --name "Quillon : Simulate" 2>/dev/null | head -1) && [ -n "\$w" ] && break
  sleep 0.2
done
[ -n "\$w" ] || { kill \$app; exit 1; }
sleep 1
xdotool windowfocus --sync "\$w" 2>/dev/null || true
for k in 2 5 0 Return; do xdotool key \$k; sleep 0.2; done
sleep 0.5
for k in 6 0 0 Return; do xdotool key \$k; sleep 0.2; done
sleep 0.5
xdotool key Escape
sleep 0.3
xdotool keydown 3; sleep 0.2; xdotool keydown 4; sleep 0.2; xdotool keyup 4; xdotool keyup 3
wait \$app
KEYS
  timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$run/keyboard.sh" || {
    cat "$run/keyboard.out" "$run/keyboard.err" >&2
    echo "gui-simulate-bench: the session with the real keyboard failed" >&2
    exit 1
  }
  tail -3 "$run/keyboard.out"
  [ -s "$shot" ] || { echo "gui-simulate-bench: no picture of the keyboard session" >&2; exit 1; }
else
  echo "gui-simulate-bench: xdotool is missing; the real keyboard was not tried"
fi
echo "gui-simulate-bench: all checks passed"
