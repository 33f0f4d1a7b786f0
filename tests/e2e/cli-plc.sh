#!/usr/bin/env bash
# The catalog commands as a script uses them: listing, showing a PLC and checking addresses, with the exit
# code and the exact texts on each stream.
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
plc="$source_dir/data/plc"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && cat "$work/out"; [ -f "$work/err" ] && cat "$work/err"; exit 1; }

# Every command has its help.
for command in "plc list" "plc show" "address check"; do
    # shellcheck disable=SC2086
    "$cli" $command --help >"$work/out" || fail "$command --help"
    grep -q "Usage:" "$work/out" || fail "no usage for $command"
done

# plc list: the supported list with the selection.
"$cli" --plc-dir "$plc" plc list >"$work/out" 2>"$work/err" || fail "plc list"
[ ! -s "$work/err" ] || fail "plc list wrote to stderr"
grep -q "^   2  yes       Siemens Step-7 Micro$" "$work/out" || fail "plc list lacks the Step-7 line"
[ "$(wc -l <"$work/out")" -eq 9 ] || fail "plc list: expected a heading and 8 PLCs"

# The default catalog folder lies beside the working directory.
mkdir -p "$work/tool" && cp -r "$plc" "$work/plc"
"$cli" --workdir "$work/tool" plc list --selected >"$work/out" || fail "plc list from the default folder"
grep -q "Omron" "$work/out" || fail "default catalog folder not used"

# A missing catalog folder: the core's message, exit 1.
if "$cli" --plc-dir "$work/nowhere" plc list >"$work/out" 2>"$work/err"; then fail "missing folder accepted"; fi
[ "$(cat "$work/err")" = "Cannot open PLC file" ] || fail "wrong message for a missing catalog"

# plc show: models, areas with their ranges, special data.
"$cli" --plc-dir "$plc" plc show 2 >"$work/out" || fail "plc show 2"
grep -q "^PLC 2: Siemens Step-7 Micro$" "$work/out" || fail "show heading"
grep -q 'Catalog file: ..\\plc\\0002_001.plc' "$work/out" || fail "show catalog path"
grep -q 'parts D4 \[0000 - 0015\], ".", D1 \[0 - 7\]; Read - Only; register 1 byte; largest block 8' \
    "$work/out" || fail "show area parts"
"$cli" --plc-dir "$plc" plc show 0 >"$work/out" || fail "plc show 0"
grep -q "Operator Panel" "$work/out" || fail "the unit's own catalog"
if "$cli" --plc-dir "$plc" plc show 42 >"$work/out" 2>"$work/err"; then fail "unknown PLC accepted"; fi
[ "$(cat "$work/err")" = "Cannot open PLC file" ] || fail "unknown PLC message"
if "$cli" --plc-dir "$plc" plc show 300 2>"$work/err"; then fail "id 300 accepted"; fi
grep -q "from 0 to 255" "$work/err" || fail "id range message"

# address check: short forms are normalised, refusals name the reason, exit 1 when one is refused.
"$cli" --plc-dir "$plc" address check --plc 2 --model 1 I0.3 VW100 SMB0 >"$work/out" 2>"$work/err" \
    || fail "address check of good addresses"
grep -q '^I0.3: area 1 "Inputs bits I", prefix "I", address I0000.3, Read - Only' "$work/out" || fail "I0.3"
grep -q '^VW100: area 15 "Variables words VW", prefix "VW", address VW00100' "$work/out" || fail "VW100"
if "$cli" --plc-dir "$plc" address check --plc 2 --model 1 I0.9 VW2048 IB5 >"$work/out" 2>"$work/err"; then
    fail "out-of-range addresses accepted"
fi
grep -q '^IB5: area 2 "Inputs bytes IB", prefix "IB", address IB00005' "$work/out" || fail "good address among bad"
grep -qx 'I0.9: No area for a block holds the address "I0.9".' "$work/err" || fail "bit 9 of a byte"
grep -qx 'VW2048: No area for a block holds the address "VW2048".' "$work/err" || fail "VW2048"

# Coils: a bit inside a register needs its bit number, within the register.
"$cli" --plc-dir "$plc" address check --plc 2 --model 1 --for coil V10.3 VW100_03 >"$work/out" || fail "coils"
grep -q "address VW00100_03" "$work/out" || fail "bit inside a register"
if "$cli" --plc-dir "$plc" address check --plc 2 --model 1 --for coil VW100_16 VW100 2>"$work/err"; then
    fail "bad coils accepted"
fi
grep -qx 'VW100_16: The area "Variables words VW" has bits 00 to 15, not 16.' "$work/err" || fail "bit 16"
grep -q 'VW100: A coil tag in the register area "Variables words VW" needs a bit number' "$work/err" \
    || fail "missing bit"
# A register tag never lies in a bit area.
if "$cli" --plc-dir "$plc" address check --plc 2 --model 1 --for register I0.3 2>"$work/err"; then
    fail "register tag in a bit area"
fi

# Modbus: one prefix digit and a four-digit part; the second model has five digits.
"$cli" --plc-dir "$plc" address check --plc 1 --model 1 40001 4100 >"$work/out" || fail "modbus"
grep -q "^4100: area 4 \"Holding registers (4x)\", prefix \"4\", address 40100" "$work/out" || fail "4100"
"$cli" --plc-dir "$plc" address check --plc 1 --model 2 400001 >"$work/out" || fail "modbus extended"
grep -q "address 400001" "$work/out" || fail "extended address"

# A model the PLC does not have, and bad options.
if "$cli" --plc-dir "$plc" address check --plc 1 --model 9 40001 2>"$work/err"; then fail "model 9"; fi
grep -qx "PLC 1 has no model 9; its models are numbered 1 to 2." "$work/err" || fail "model 9 message"
if "$cli" --plc-dir "$plc" address check --plc 1 --model 1 --for nothing 1 2>/dev/null; then fail "--for"; fi
if "$cli" --plc-dir "$plc" address check --plc 1 --model 1 2>/dev/null; then fail "no address"; fi
if "$cli" --answer maybe --plc-dir "$plc" plc list 2>"$work/err"; then fail "--answer maybe"; fi
if "$cli" 2>/dev/null; then fail "no command"; fi
echo "ok"
