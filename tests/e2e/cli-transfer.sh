#!/usr/bin/env bash
# download, upload and driver against the emulated unit: a new application goes to the unit and comes back
# with the same image; refusals (no such port, a unit of another model, a network without a PLC) end with
# the dialog's texts and exit code 1.
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
fail() { echo "FAIL: $*"; for f in out err sim.log; do [ -f "$work/$f" ] && cat "$work/$f"; done; exit 1; }

# start_unit LINK ARGS...: an emulated unit whose device is reachable as LINK.
start_unit() {
    local link="$1"; shift
    "$sim" --quiet --link "$link" "$@" >>"$work/sim.log" 2>&1 &
    sims+=("$!")
    for _ in $(seq 100); do [ -e "$link" ] && return 0; sleep 0.1; done
    fail "the emulated unit did not start"
}

for command in download upload driver; do
    "$cli" "$command" --help | grep -q -- "--port" || fail "$command --help"
done

run new --model 500 "$work/app.ovm" >/dev/null 2>"$work/err" || fail "new"
start_unit "$work/unit500" --model 500 --memory 64

# The download goes through the map of COMn names in the working directory.
echo "COM7=$work/unit500" >"$work/tool/ports.cfg"
run download "$work/app.ovm" --port COM7 >"$work/out" 2>"$work/err" || fail "download"
grep -qx "Download is completed successfully." "$work/out" || fail "download success text"
[ -s "$work/tool/dnld_ovm.ovz" ] || fail "no download image in the working directory"

# The upload brings back the same image, and the application saved from it opens.
run upload "$work/back.ovm" --port "$work/unit500" >"$work/out" 2>"$work/err" || fail "upload"
grep -qx "Upload is completed successfully." "$work/out" || fail "upload success text"
# The unit keeps the application's bytes, not the names and legends that follow them in the file.
size="$(od -An -tu4 -N4 "$work/tool/dnld_ovm.ovz" | tr -d ' ')"
[ "$(stat -c %s "$work/tool/upld_ovm.ovz")" -eq "$size" ] || fail "the uploaded image is not $size bytes"
cmp -s -n "$size" "$work/tool/dnld_ovm.ovz" "$work/tool/upld_ovm.ovz" || fail "the uploaded image differs from the downloaded one"
run info "$work/back.ovm" >"$work/out" 2>"$work/err" || fail "info of the uploaded application"
grep -q "^Model  *500 " "$work/out" || fail "uploaded model"
grep -q "^Global keys  *14$" "$work/out" || fail "uploaded keys"

# A protected application with every kind of record: the unit keeps no names, so the upload gives the
# default ones, with each block's prefix from the catalog.
cp "$work/plc/0001_001.plc" "$work/plc/0029_001.plc" # the PLC the corpus's network uses
for list in orvk_all.PLC orvk_sel.PLC; do echo "Packed Modbus|29|" >>"$work/plc/$list"; done # and selects
rich="$source_dir/fuzz/corpus/OvmReaderFuzz/rich_500.ovm"
run --password Fz9 download "$rich" --port "$work/unit500" >"$work/out" 2>"$work/err" || fail "download rich"
if run upload "$work/rich-back.ovm" --port "$work/unit500" >"$work/out" 2>"$work/err"; then
    fail "a protected upload opened without its password"
fi
[ ! -e "$work/rich-back.ovm" ] || fail "a failed upload wrote the application file"
run --password Fz9 upload "$work/rich-back.ovm" --port "$work/unit500" >"$work/out" 2>"$work/err" ||
    fail "upload rich"
size="$(od -An -tu4 -N4 "$rich" | tr -d ' ')"
cmp -s -n "$size" "$rich" "$work/tool/upld_ovm.ovz" || fail "the rich image came back changed"
run --password Fz9 export "$work/rich-back.ovm" "$work/rich-back.json" 2>"$work/err" || fail "export uploaded"
grep -q '"name": "Tag1",' "$work/rich-back.json" || fail "no default tag names"
grep -q '"prefix": "UB"' "$work/rich-back.json" || fail "no block prefixes from the catalog"

# A port that is not there.
if run download "$work/app.ovm" --port "$work/nowhere" >"$work/out" 2>"$work/err"; then fail "missing port accepted"; fi
grep -qx "Can not open port $work/nowhere" "$work/out" || fail "message for a missing port"

# A unit of another model refuses the application.
run new --model 10 "$work/app10.ovm" >/dev/null 2>"$work/err" || fail "new model 10"
if run download "$work/app10.ovm" --port "$work/unit500" >"$work/out" 2>"$work/err"; then fail "model mismatch accepted"; fi
grep -qx "Selected Orvik model is not matching with connected model." "$work/out" || fail "model mismatch text"

# A broken port map is refused, not guessed around.
echo "COM7 /dev/null" >"$work/tool/ports.cfg"
if run download "$work/app.ovm" --port COM7 >"$work/out" 2>"$work/err"; then fail "broken ports.cfg accepted"; fi
[ -s "$work/err" ] || fail "no message for a broken ports.cfg"
rm "$work/tool/ports.cfg"

# Driver download: none without a PLC node; with one, the driver file of the model and the PLC goes out.
if run driver "$work/app.ovm" --port "$work/unit500" --drivers-dir "$work/drivers" >"$work/out" 2>"$work/err"; then
    fail "driver without a PLC accepted"
fi
grep -qx "PLC is not added in the network." "$work/out" || fail "no-PLC text"
run export "$work/app.ovm" "$work/app.json" 2>"$work/err" || fail "export"
python3 - "$work/app.json" "$work/plc.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
doc["nodes"].append({"number": 1, "kind": "plc", "name": "Line PLC", "plcId": 1, "modelIndex": 1, "blocks": []})
json.dump(doc, open(sys.argv[2], "w"), indent=2)
PY
run import "$work/plc.json" "$work/plc.ovm" 2>"$work/err" || fail "import with a PLC node"
if run driver "$work/plc.ovm" --port "$work/unit500" --drivers-dir "$work/drivers" >"$work/out" 2>"$work/err"; then
    fail "driver download without a driver file"
fi
grep -qx "The Drivers directory has no driver for the VQ5K-822 unit (driver files 140\*.abs)." "$work/out" ||
    fail "no driver of the model text"
head -c 300 /dev/urandom >"$work/drivers/14000901.abs" # a driver of the model for another PLC
if run driver "$work/plc.ovm" --port "$work/unit500" --drivers-dir "$work/drivers" >"$work/out" 2>"$work/err"; then
    fail "driver download without the PLC's driver file"
fi
grep -qx "Can not open the file to be downloaded." "$work/out" || fail "missing driver text"
head -c 3000 /dev/urandom >"$work/drivers/14000101.abs"
run driver "$work/plc.ovm" --port "$work/unit500" --drivers-dir "$work/drivers" >"$work/out" 2>"$work/err" ||
    fail "driver download"
grep -qx "Download is completed successfully." "$work/out" || fail "driver success text"

# The two large graphic models: applications go down and come back unchanged, and their drivers are found by
# the driver model codes 200 and 300; without one the status says so before anything reaches the unit.
for model in 510 520; do
    code=$([ "$model" = 510 ] && echo 200 || echo 300)
    run new --model "$model" "$work/app$model.ovm" >/dev/null 2>"$work/err" || fail "new $model"
    start_unit "$work/unit$model" --model "$model" --memory 64
    run download "$work/app$model.ovm" --port "$work/unit$model" >"$work/out" 2>"$work/err" || fail "download $model"
    run upload "$work/back$model.ovm" --port "$work/unit$model" >"$work/out" 2>"$work/err" || fail "upload $model"
    size="$(od -An -tu4 -N4 "$work/tool/dnld_ovm.ovz" | tr -d ' ')"
    cmp -s -n "$size" "$work/tool/dnld_ovm.ovz" "$work/tool/upld_ovm.ovz" || fail "model $model came back changed"
    run export "$work/app$model.ovm" "$work/app$model.json" 2>"$work/err" || fail "export $model"
    python3 - "$work/app$model.json" "$work/plc$model.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
doc["nodes"].append({"number": 1, "kind": "plc", "name": "Line PLC", "plcId": 1, "modelIndex": 1, "blocks": []})
json.dump(doc, open(sys.argv[2], "w"), indent=2)
PY
    run import "$work/plc$model.json" "$work/plc$model.ovm" 2>"$work/err" || fail "import $model with a PLC node"
    if run driver "$work/plc$model.ovm" --port "$work/unit$model" --drivers-dir "$work/drivers" >"$work/out" \
        2>"$work/err"; then
        fail "driver download for $model without a driver"
    fi
    grep -qx "The Drivers directory has no driver for the Orvik $([ "$model" = 510 ] && echo 180 || echo 520) unit (driver files $code\*.abs)." \
        "$work/out" || fail "no driver text for $model"
    head -c 2000 /dev/urandom >"$work/drivers/${code}00101.abs"
    run driver "$work/plc$model.ovm" --port "$work/unit$model" --drivers-dir "$work/drivers" >"$work/out" \
        2>"$work/err" || fail "driver download for $model"
    grep -qx "Download is completed successfully." "$work/out" || fail "driver success text for $model"
done
echo "ok"
