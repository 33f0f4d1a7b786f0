#!/usr/bin/env bash
# Several --port options: download, upload and driver to four emulated units side by side. One unit is faulty;
# the others finish all the same, the table names each port's result, and the command fails. Ctrl+C cancels
# every transfer and leaves no port locked.
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
mkdir -p "$work/tool" "$work/drivers"
cp -r "$source_dir/data/plc" "$work/plc"
run() { timeout 120 "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; for f in out err; do [ -f "$work/$f" ] && cat "$work/$f"; done; exit 1; }
start_unit() {
    local link="$1"; shift
    "$sim" --quiet --link "$link" "$@" >>"$work/sim.log" 2>&1 &
    sims+=("$!")
    for _ in $(seq 100); do [ -e "$link" ] && return 0; sleep 0.1; done
    fail "the emulated unit did not start"
}

run new --model 500 "$work/app.ovm" >/dev/null 2>"$work/err" || fail "new"
for n in 1 2 3; do start_unit "$work/unit$n" --model 500 --memory 64; done
start_unit "$work/unit4" --model 500 --memory 64 --fault wrong-checksum

# Three of four succeed: the table lists every port, and the command fails.
if run download --fast-polling "$work/app.ovm" --port "$work/unit1" --port "$work/unit2" --port "$work/unit3" \
    --port "$work/unit4" >"$work/out" 2>"$work/err"; then
    fail "a download with a failed port succeeded"
fi
size="$(od -An -tu4 -N4 "$work/tool/dnld_ovm.ovz" | tr -d ' ')"
for n in 1 2 3; do
    grep -qx "\[$work/unit$n\] Download is completed successfully." "$work/out" || fail "status line of unit $n"
    grep -Eq "^$work/unit$n +succeeded +$size +[0-9]+\.[0-9]{2}  Download is completed successfully\.$" "$work/out" ||
        fail "table row of unit $n"
done
grep -Eq "^$work/unit4 +failed +[0-9]+ +[0-9]+\.[0-9]{2}  " "$work/out" || fail "table row of the faulty unit"
grep -Eq "^Port +Result +Bytes +Seconds  Status$" "$work/out" || fail "table heading"
grep -qx "3 of 4 ports succeeded." "$work/out" || fail "summary line"

# Every sound unit holds the application: upload from all four into a folder, one file a port.
if run upload --fast-polling "$work/back" --port "$work/unit1" --port "$work/unit2" --port "$work/unit3" \
    --port "$work/unit4" >"$work/out" 2>"$work/err"; then
    fail "an upload from a unit without an application succeeded"
fi
for n in 1 2 3; do
    [ -s "$work/back/unit$n.ovm" ] || fail "no upload file of unit $n"
    run info "$work/back/unit$n.ovm" >"$work/info" 2>"$work/err" || fail "the upload of unit $n does not open"
done
[ ! -e "$work/back/unit4.ovm" ] || fail "a file for the unit that holds nothing"
grep -qx "3 of 4 ports succeeded." "$work/out" || fail "upload summary"

# All sound: success. A port named twice is refused before anything is sent.
run download --fast-polling --verify "$work/app.ovm" --port "$work/unit1" --port "$work/unit2" \
    >"$work/out" 2>"$work/err" || fail "download to two sound units"
grep -qx "2 of 2 ports succeeded." "$work/out" || fail "two-port summary"
[ "$(grep -c "  Verified\.$" "$work/out")" -eq 2 ] || fail "both ports verified"
if run download "$work/app.ovm" --port "$work/unit1" --port "$work/unit1" >"$work/out" 2>"$work/err"; then
    fail "the same port twice accepted"
fi
grep -q "named twice" "$work/err" || fail "message for a port named twice"

# Ctrl+C during slow transfers: all end as cancelled, and every port can be opened again at once.
for n in 5 6; do start_unit "$work/unit$n" --model 500 --memory 64 --bytes-per-second 200; done
"$cli" --workdir "$work/tool" download "$work/app.ovm" --port "$work/unit5" --port "$work/unit6" \
    >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 100); do grep -q "unit6\]" "$work/out" 2>/dev/null && grep -q "unit5\]" "$work/out" && break; sleep 0.1; done
sleep 1
kill -INT "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -ne 0 ] || fail "a cancelled fleet succeeded"
grep -Eq "^$work/unit5 +cancelled " "$work/out" || fail "unit 5 not cancelled"
grep -Eq "^$work/unit6 +cancelled " "$work/out" || fail "unit 6 not cancelled"
grep -q "The transfers were cancelled." "$work/err" || fail "no cancel message"
sleep 6 # the units give the abandoned transfer up after their silence
run download --fast-polling "$work/app.ovm" --port "$work/unit5" --port "$work/unit6" >"$work/out" 2>"$work/err" ||
    fail "the ports were left locked or the units busy after the cancel"
echo "ok"
