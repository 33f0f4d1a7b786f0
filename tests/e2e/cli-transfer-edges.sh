#!/usr/bin/env bash
# Transfers at their edges, against the emulated unit: a unit that starts with a saved application, fast
# polling, transfers ended by signals, a silent unit, and upload targets that can not be written.
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
sim="$build/quillon-unitsim"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
[ -x "$sim" ] || { echo "quillon-unitsim not built"; exit 1; }
work="$(mktemp -d)"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/tool"
cp -r "$source_dir/data/plc" "$work/plc"
run() { timeout 120 "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; for f in out err sim.log; do [ -f "$work/$f" ] && cat "$work/$f"; done; exit 1; }

# start_unit LINK ARGS...: an emulated unit whose device is reachable as LINK; it logs into sim.log.
start_unit() {
    local link="$1"; shift
    "$sim" --link "$link" "$@" >"$work/sim.log" 2>&1 &
    pids+=("$!")
    for _ in $(seq 100); do [ -e "$link" ] && return 0; sleep 0.1; done
    fail "the emulated unit did not start"
}
stop_units() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    pids=()
}
# wait_for FILE TEXT: until the file holds the text (at most 30 s).
wait_for() {
    for _ in $(seq 300); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
    fail "no \"$2\" in $1"
}

run new --model 500 "$work/app.ovm" >/dev/null 2>"$work/err" || fail "new"
size="$(od -An -tu4 -N4 "$work/app.ovm" | tr -d ' ')"
[ "$(stat -c %s "$work/app.ovm")" -gt "$size" ] || fail "the application file has no names after its image"

# A unit that holds a saved application from the start: the upload brings back the application, which
# saves to the same image.
start_unit "$work/unit" --model 500 --image "$work/app.ovm"
run upload "$work/back.ovm" --port "$work/unit" >"$work/out" 2>"$work/err" || fail "upload of --image"
grep -qx "Upload is completed successfully." "$work/out" || fail "upload success text"
[ "$(stat -c %s "$work/tool/upld_ovm.ovz")" -eq "$size" ] || fail "the unit sent more than its image"
cmp -s -n "$size" "$work/app.ovm" "$work/tool/upld_ovm.ovz" || fail "the uploaded image differs"
cmp -s -n "$size" "$work/app.ovm" "$work/back.ovm" || fail "the uploaded application saves differently"
run info "$work/app.ovm" | grep -v -i "name\|edited\|saved" >"$work/info-app" || fail "info"
run info "$work/back.ovm" | grep -v -i "name\|edited\|saved" >"$work/info-back" || fail "info of the upload"
diff "$work/info-app" "$work/info-back" >/dev/null || fail "the uploaded application differs: $(diff "$work/info-app" "$work/info-back")"
stop_units

# A file that can not be the unit's memory is refused with the reason.
printf '\x40\x00\x00\x00abc' >"$work/short.ovz"
if "$sim" --image "$work/short.ovz" >"$work/out" 2>"$work/err"; then fail "a short image was accepted"; fi
grep -q "states a length of 64 bytes but has only 7" "$work/err" || fail "message for a short image"

# Fast polling: every transfer takes it. The standard timing pauses 1200 ms before each of an upload's reads
# (the echo, 11 frames of 50 bytes and the final pair: more than 15 s), which no reply can shorten.
start_unit "$work/unit" --model 500 --memory 64 --frame-size 50
for command in download upload driver; do
    "$cli" "$command" --help | grep -q -- "--fast-polling" || fail "$command --help has no --fast-polling"
done
run download "$work/app.ovm" --port "$work/unit" --fast-polling >"$work/out" 2>"$work/err" ||
    fail "download with --fast-polling"
grep -qx "Download is completed successfully." "$work/out" || fail "fast download success text"
timeout 8 "$cli" --workdir "$work/tool" upload "$work/fast.ovm" --port "$work/unit" --fast-polling \
    >"$work/out" 2>"$work/err" || fail "upload with --fast-polling did not poll at once"
grep -qx "Upload is completed successfully." "$work/out" || fail "fast upload success text"
cmp -s -n "$size" "$work/back.ovm" "$work/fast.ovm" || fail "the fast upload differs"

# Ctrl+C, SIGTERM and SIGHUP cancel a download alike, here while the tool waits for the answer to frame 2:
# the cancel's texts only, and the port is free again.
for signal in INT TERM HUP; do
    stop_units
    start_unit "$work/unit" --model 500 --memory 64 --fault stall@2 --stall-ms 30000
    "$cli" --workdir "$work/tool" download "$work/app.ovm" --port "$work/unit" >"$work/out" 2>"$work/err" &
    tool=$!
    wait_for "$work/sim.log" "fault: stall"
    kill -"$signal" "$tool"
    rc=0
    wait "$tool" || rc=$?
    [ "$rc" -eq 1 ] || fail "SIG$signal: exit code $rc"
    grep -qx "The transfer was cancelled." "$work/err" || fail "SIG$signal: no cancel text"
    [ "$(tail -n1 "$work/out")" = "Download is not completed succesfully." ] || fail "SIG$signal: last line"
    ! grep -q "BCC value" "$work/out" || fail "SIG$signal: a block-check text before the cancel"
done
stop_units
start_unit "$work/unit" --model 500 --memory 64
run download "$work/app.ovm" --port "$work/unit" --fast-polling >"$work/out" 2>"$work/err" ||
    fail "the port is not free after the cancelled downloads"
stop_units

# A unit that answers nothing: its not-responding text once.
python3 -c 'import os, pty, sys, time
m, s = pty.openpty()
os.symlink(os.ttyname(s), sys.argv[1])
time.sleep(120)' "$work/silent" &
pids+=("$!")
for _ in $(seq 100); do [ -e "$work/silent" ] && break; sleep 0.1; done
if run download "$work/app.ovm" --port "$work/silent" --fast-polling >"$work/out" 2>"$work/err"; then
    fail "a silent unit took the download"
fi
[ "$(grep -c "not responding" "$work/out")" -eq 1 ] || fail "the not-responding text is not shown once"
grep -qx "VQ5K is not responding for  Start of download." "$work/out" || fail "the not-responding text"
stop_units

# An upload whose file can not be written is refused before anything is sent.
start_unit "$work/unit" --model 500 --image "$work/app.ovm"
mkdir "$work/folder"
for target in "$work/missing/back.ovm" "$work/folder"; do
    if run upload "$target" --port "$work/unit" >"$work/out" 2>"$work/err"; then fail "upload to $target"; fi
    grep -q "$target" "$work/err" || fail "no message naming $target"
    ! grep -q "upload: start" "$work/sim.log" || fail "the upload to $target was started"
done
grep -q "it is a folder" "$work/err" || fail "message for a folder"
echo "ok"
