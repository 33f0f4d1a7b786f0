#!/usr/bin/env bash
# download --verify against the emulated unit: a unit that keeps one byte wrong acknowledges every frame, so a
# plain download succeeds; the verified one reads the memory back and fails, naming the offset and the record.
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
sim="$build/quillon-unitsim"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
[ -x "$sim" ] || { echo "quillon-unitsim not built"; exit 1; }
work="$(mktemp -d)"
sims=()
cleanup() {
    for p in "${sims[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/tool"
cp -r "$source_dir/data/plc" "$work/plc"
run() { timeout 120 "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; for f in out err sim.log; do [ -f "$work/$f" ] && cat "$work/$f"; done; exit 1; }
start_unit() {
    local link="$1"; shift
    "$sim" --link "$link" "$@" >>"$work/sim.log" 2>&1 &
    sims+=("$!")
    for _ in $(seq 100); do [ -e "$link" ] && return 0; sleep 0.1; done
    fail "the emulated unit did not start"
}

"$cli" download --help | grep -q -- "--verify" || fail "download --help has no --verify"
"$sim" --help | grep -q "corrupt-store" || fail "the emulator has no corrupt-store fault"

run new --model 500 "$work/app.ovm" >/dev/null 2>"$work/err" || fail "new"
start_unit "$work/good" --model 500 --memory 64
start_unit "$work/bad" --model 500 --memory 64 --fault corrupt-store@2

# A sound unit: the verified download succeeds.
run download --verify --fast-polling "$work/app.ovm" --port "$work/good" >"$work/out" 2>"$work/err" ||
    fail "verified download to a sound unit"
grep -qx "Download is completed successfully." "$work/out" || fail "download text"
grep -q "^Verified: the unit holds the [0-9]* bytes sent.$" "$work/out" || fail "verified text"
[ ! -e "$work/tool/vrfy_ovm.ovz" ] || fail "the read-back image was left behind"

# The faulty unit: a plain download does not notice.
run download --fast-polling "$work/app.ovm" --port "$work/bad" >"$work/out" 2>"$work/err" ||
    fail "a plain download to the faulty unit failed"
grep -qx "Download is completed successfully." "$work/out" || fail "plain download text"
grep -q "stored wrong" "$work/sim.log" || fail "the emulator committed no fault"

# The verified download fails: frame 2 carries bytes 50 to 99, its middle byte is offset 75 (0x4B), which lies
# in the settings' reserved bytes (0x4A to 0x59).
if run download --verify --fast-polling "$work/app.ovm" --port "$work/bad" >"$work/out" 2>"$work/err"; then
    fail "the verified download to the faulty unit succeeded"
fi
grep -qx "Download is completed successfully." "$work/out" || fail "download text before the verify"
grep -q "Verify failed: the unit's memory differs from the application sent, first at offset 75 (0x0000004B): sent 0x00, the unit holds 0x01 (in Settings, field reserved)." \
    "$work/err" || fail "verify failure text"
echo "ok"
