#!/usr/bin/env bash
# The panel emulator as a user runs it: help, option checks, the device it prints, its link, a clean stop.
set -euo pipefail
build="$1"
sim="$build/quillon-unitsim"
[ -x "$sim" ] || { echo "quillon-unitsim not built"; exit 1; }
work="$(mktemp -d)"
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

"$sim" --help | grep -q -- "--fault" || { echo "help does not list --fault"; exit 1; }
if "$sim" --fault no-such-fault >/dev/null 2>"$work/err"; then echo "a bad fault was accepted"; exit 1; fi
grep -q 'unknown fault "no-such-fault"' "$work/err" || { cat "$work/err"; exit 1; }
if "$sim" --fault lose-ack@0 >/dev/null 2>&1; then echo "frame 0 was accepted"; exit 1; fi
if "$sim" --check-reply 3 >/dev/null 2>&1; then echo "--check-reply 3 was accepted"; exit 1; fi

"$sim" --quiet --link "$work/ttyQUILLON" --model 42 --fault stall:0.5 >"$work/out" 2>&1 &
pid=$!
for _ in $(seq 50); do [ -s "$work/out" ] && break; sleep 0.1; done
device="$(head -n1 "$work/out")"
[ -c "$device" ] || { echo "no device printed: $(cat "$work/out")"; exit 1; }
[ "$(readlink "$work/ttyQUILLON")" = "$device" ] || { echo "link does not point at $device"; exit 1; }
# A start byte from the tool's side is echoed.
exec 3<>"$device"
stty -F "$device" raw -echo
printf '\xbb' >&3
echo_byte="$(timeout 5 head -c1 <&3 | od -An -tx1 | tr -d ' ')"
exec 3>&-
[ "$echo_byte" = "bb" ] || { echo "start of upload not echoed (got '$echo_byte')"; exit 1; }
kill -TERM "$pid"
wait "$pid"
[ ! -e "$work/ttyQUILLON" ] || { echo "link left behind"; exit 1; }
echo "ok"
