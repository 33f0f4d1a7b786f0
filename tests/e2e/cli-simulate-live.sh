#!/usr/bin/env bash
# `simulate --live`: a scenario whose Modbus node is a real device, here a small Modbus TCP server on
# 127.0.0.1 (a free port) run by this script: the device's value is expected, `set` writes it on the device,
# the status line counts the requests; refusals of nodes that cannot be live and of bad connections.
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
work="$(mktemp -d)"
server_pid=""
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/tool"
cp -r "$source_dir/data/plc" "$work/plc"
run() { "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && cat "$work/out"; [ -f "$work/err" ] && cat "$work/err"; exit 1; }

run new --model 500 "$work/new.ovm" >/dev/null 2>"$work/err" || fail "new"
run export "$work/new.ovm" "$work/new.json" 2>"$work/err" || fail "export"
# Node 1 is a Modbus RTU Master PLC; screen 1 shows its holding register 40001 (Speed).
python3 - "$work/new.json" "$work/live.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
doc["nodes"].append({"number": 1, "kind": "plc", "name": "Press", "plcId": 1, "modelIndex": 1, "modelCode": "5",
                     "specialData": [0, 0, 0], "blocks": [
    {"address": "40001", "size": 4, "name": "Regs", "prefix": "4", "tags": [
        {"address": "40001", "type": "register", "bytes": 2, "name": "Speed", "readWrite": "readWrite"}]}]})
speed = {"node": 1, "address": "40001", "bytes": 2}
doc["screens"] = [{"number": 1, "name": "Main", "objects": [
    {"kind": "displayRegister", "left": 0, "top": 0, "right": 29, "bottom": 7, "tag": speed,
     "format": {"dataType": "U", "code": "50"}}],
    "tasks": {"beforeShowing": [], "whileShowing": [], "afterHiding": []}}]
json.dump(doc, open(sys.argv[2], "w"))
PY
run import "$work/live.json" "$work/live.ovm" >/dev/null 2>"$work/err" || fail "import"

# The device: holding registers 0 .. 99 (40001 holds 1234), functions 03, 06 and 16; it writes its
# registers and the count of requests to a file at every request.
cat >"$work/server.py" <<'PY'
import socket, struct, sys
regs = [0] * 100
regs[0] = 1234
requests = 0
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(1)
open(sys.argv[1], "w").write(str(listener.getsockname()[1]))
while True:
    conn, _ = listener.accept()
    with conn:
        while True:
            head = conn.recv(7)
            if len(head) < 7:
                break
            tid, _, length, unit = struct.unpack(">HHHB", head)
            pdu = conn.recv(length - 1)
            requests += 1
            fn = pdu[0]
            if fn == 3:
                start, count = struct.unpack(">HH", pdu[1:5])
                body = bytes([fn, 2 * count]) + b"".join(struct.pack(">H", regs[start + i]) for i in range(count))
            elif fn == 6:
                start, value = struct.unpack(">HH", pdu[1:5])
                regs[start] = value
                body = pdu[:5]
            elif fn == 16:
                start, count = struct.unpack(">HH", pdu[1:5])
                for i in range(count):
                    regs[start + i] = struct.unpack(">H", pdu[6 + 2 * i:8 + 2 * i])[0]
                body = pdu[:5]
            else:
                body = bytes([fn | 0x80, 1])
            conn.sendall(struct.pack(">HHHB", tid, 0, len(body) + 1, unit) + body)
            open(sys.argv[2], "w").write("%d %d\n" % (requests, regs[0]))
PY
python3 "$work/server.py" "$work/port" "$work/state" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
port="$(cat "$work/port")"
[ -n "$port" ] || fail "the test device did not start"

cat >"$work/live.txt" <<'STEPS'
expect screen 1
expect Speed 1234
set Speed 77
advance 100
expect Speed 77
STEPS
( cd "$work" && run simulate live.ovm --script live.txt --live "1=tcp:127.0.0.1:$port" ) >"$work/out" 2>"$work/err" \
  || fail "live scenario"
grep -q "node 1 Live: TCP 127.0.0.1:$port, unit 1: connected" "$work/out" || fail "no status line"
grep -q " 0 timeouts, 0 times lost" "$work/out" || fail "timeouts or losses"
read -r requests value <"$work/state"
[ "$value" = "77" ] || fail "the device holds $value, not 77"
# Power-on's scan and the 10 of advance 100 read the one block of screen 1 (11 requests), the two expects read Speed
# (2), the set writes it (1).
[ "$requests" = 14 ] || fail "$requests requests, not 14"
grep -q "connected, 14 requests, 13 reads, 1 writes" "$work/out" || fail "the counts"

# The device changed behind the scenario: expect reads it.
cat >"$work/changed.txt" <<'STEPS'
expect Speed 1234
STEPS
( cd "$work" && run simulate live.ovm --script changed.txt --live "Press=tcp:127.0.0.1:$port" ) >"$work/out" \
  2>"$work/err" && fail "an expectation of the old value passed"
grep -q "Speed is 77, not 1234" "$work/out" || fail "the device's value not named"

# Refusals: the unit, an unknown node, a bad connection.
( cd "$work" && run simulate live.ovm --script live.txt --live "0=tcp:127.0.0.1:$port" ) >"$work/out" 2>"$work/err" \
  && fail "the unit made live"
grep -q "only Modbus nodes can be live" "$work/err" || fail "no reason for the unit"
( cd "$work" && run simulate live.ovm --script live.txt --live "7=tcp:127.0.0.1:$port" ) >"$work/out" 2>"$work/err" \
  && fail "an unknown node made live"
grep -q "the application has no node 7" "$work/err" || fail "no reason for node 7"
( cd "$work" && run simulate live.ovm --script live.txt --live "1=rtu:/dev/ttyS0:19201:8N1:1" ) >"$work/out" \
  2>"$work/err" && fail "a bad baud rate taken"
grep -q "the baud rate is one of" "$work/err" || fail "no reason for the baud rate"
echo "cli-simulate-live: ok"
