#!/usr/bin/env bash
# Every example application of data/examples as the build made it: `check` finds nothing, its scenario
# (NAME.sim beside it) passes on the simulator, its report prints, it goes to an emulated unit of its model
# and comes back byte for byte, and `new --example` hands out a copy of it without touching the shipped
# file.
set -euo pipefail
build="$(cd "$1" && pwd)"
source_dir="$(cd "$2" && pwd)"
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

examples=()
for text in "$source_dir"/data/examples/*.json; do examples+=("$(basename "$text" .json)"); done
[ "${#examples[@]}" -ge 2 ] || fail "fewer than two examples in data/examples"

# The list the tool offers is the list in the repository.
run new --example >"$work/out" 2>"$work/err" || fail "new --example without a name"
for name in "${examples[@]}"; do grep -qx "  $name" "$work/out" || fail "$name is not listed"; done
if run new --example no-such-example "$work/x.ovm" >"$work/out" 2>"$work/err"; then fail "a wrong name was copied"; fi
grep -q "There is no example \"no-such-example\"; the examples are" "$work/err" || fail "message for a wrong name"
grep -qx "  ${examples[0]}" "$work/out" || fail "no list after a wrong name"
[ ! -e "$work/x.ovm" ] || fail "a wrong name wrote a file"

port=0
for name in "${examples[@]}"; do
    shipped="$build/examples/$name.ovm"
    [ -f "$shipped" ] || fail "the build did not make $name.ovm"
    [ -f "$source_dir/data/examples/$name.sim" ] || fail "$name has no scenario"
    before="$(sha256sum "$shipped")"

    # The copy is the shipped file, byte for byte; the shipped file cannot be the target.
    run new --example "$name" "$work/$name.ovm" >"$work/out" 2>"$work/err" || fail "new --example $name"
    cmp -s "$shipped" "$work/$name.ovm" || fail "the copy of $name differs from the shipped file"
    if run new --example "$name" "$shipped" >"$work/out" 2>"$work/err"; then fail "$name copied over itself"; fi

    run check "$work/$name.ovm" >"$work/out" 2>"$work/err" || fail "check $name"
    grep -qx "$work/$name.ovm: no problems found." "$work/out" || fail "check $name found something"

    # The text form in the repository is the canonical one: exported again, it is the same text.
    run export "$work/$name.ovm" "$work/$name.json" 2>"$work/err" || fail "export $name"
    cmp -s "$source_dir/data/examples/$name.json" "$work/$name.json" || {
        diff "$source_dir/data/examples/$name.json" "$work/$name.json" | head -20
        fail "data/examples/$name.json is not in the canonical form of the text"
    }

    ( cd "$work" && run simulate "$name.ovm" --script "$source_dir/data/examples/$name.sim" ) >"$work/out" 2>"$work/err" ||
        fail "the scenario of $name"
    grep -q "all [0-9]* steps passed" "$work/out" || fail "summary of the scenario of $name"

    if run report "$work/$name.ovm" "$work/$name.pdf" >"$work/out" 2>"$work/err"; then
        grep -q "^Report of $work/$name.ovm: [0-9]* pages, saved to $work/$name.pdf.$" "$work/out" ||
            fail "report text of $name"
        [ "$(head -c 4 "$work/$name.pdf")" = "%PDF" ] || fail "the report of $name is no PDF"
    else
        grep -q "needs the Qt build" "$work/err" || fail "report $name"
    fi

    # To a unit of the example's model and back: the unit keeps the image the tool sent.
    model="$(run info "$work/$name.ovm" | awk '/^Model/ {print $2}')"
    port=$((port + 1))
    link="$work/unit$port"
    "$sim" --quiet --link "$link" --model "$model" --memory 64 >>"$work/sim.log" 2>&1 &
    sims+=("$!")
    for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.1; done
    [ -e "$link" ] || fail "the emulated unit for $name did not start"
    run download "$work/$name.ovm" --port "$link" --fast-polling >"$work/out" 2>"$work/err" || fail "download $name"
    grep -qx "Download is completed successfully." "$work/out" || fail "download text of $name"
    run upload "$work/$name-back.ovm" --port "$link" --fast-polling >"$work/out" 2>"$work/err" || fail "upload $name"
    grep -qx "Upload is completed successfully." "$work/out" || fail "upload text of $name"
    size="$(od -An -tu4 -N4 "$work/tool/dnld_ovm.ovz" | tr -d ' ')"
    [ "$(stat -c %s "$work/tool/upld_ovm.ovz")" -eq "$size" ] || fail "the uploaded $name is not $size bytes"
    # The unit keeps the application's bytes, not the names and legends that follow them in the file.
    cmp -s -n "$size" "$work/tool/dnld_ovm.ovz" "$work/tool/upld_ovm.ovz" || fail "$name came back changed"
    run check "$work/$name-back.ovm" >"$work/out" 2>"$work/err" || fail "check the uploaded $name"

    [ "$(sha256sum "$shipped")" = "$before" ] || fail "the shipped $name.ovm changed"
    echo "$name: check, scenario, report, download and upload passed"
done
echo "examples: all passed"
