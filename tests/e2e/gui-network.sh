#!/usr/bin/env bash
# Builds a network of the unit and two PLCs, their blocks and tags of every kind through the real window
# alone (network, blocks, tag database and unit settings editors, driven by the scripted runner), saves the
# application and checks the file with quillon-cli: its consistency and the tags it holds.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-network "$@"
run="$scratch"


bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

saved="$run/work/Result/Network.ovm"
shot="$build/gui-network-tags.png"
modbus='[ 001 : Node1 ]  Modbus RTU Master  ( Standard addressing 0xxxx-4xxxx )'
omron='[ 002 : Press ]  Omron C-series (Host Link)  ( C200HX/HG )'
cat >"$run/script.txt" <<STEPS
menu File/New...
wait-dialog Quillon : New Application
key Return
menu Define/Network Configuration...
wait-dialog Quillon : Network Configuration
expect-row nodes|000\tOperator Panel\tVQ5K-252\t00000
button Add a node
expect Node Address|1
expect Node Name|Node1
expect PLC|Modbus RTU Master
button Ok
expect-row nodes|001\tNode1\tModbus RTU Master  ( Standard addressing 0xxxx-4xxxx )\t00000
# A second node at the same address is refused; Escape leaves edit mode.
button Add a node
set Node Address|1
set Node Name|Twice
button Ok
wait-text This Node-address is already defined.\n It should be UNIQUE.
key Return
key Escape
expect-rows nodes|2
button Add a node
set Node Address|2
set Node Name|Press
choose PLC|Omron C-series (Host Link)
choose PLC Model|C200HX/HG
button Ok
expect-row nodes|002\tPress\tOmron C-series (Host Link)  ( C200HX/HG )\t00000
choose nodes|Press
button Special PLC-data
wait-dialog PLC Comm parameters
choose Baudrate|19.2K
set Station ID|7
button OK
wait-dialog Quillon : Network Configuration
button Blocks
wait-dialog Quillon : Blocks of The Node
choose Node|$modbus
button Add a Block
choose Tag Range|Holding registers (4x)
set part1Edit|0100
expect sizeHint|1 <= Size <= 125
set Block Size|20
set Block Name|Speeds
button Ok
expect-row blocks|Speeds\t40100\t020\t0
# An overlapping block is refused.
button Add a Block
choose Tag Range|Holding registers (4x)
set part1Edit|0110
button Ok
wait-text This Block is overlapping other Block(s), hence not valid.
key Return
key Escape
expect-rows blocks|1
button Close
wait-dialog Quillon : Network Configuration
button Close
menu Define/Tag database...
wait-dialog Quillon : Tags
choose Node|$modbus
choose Tag Range|Holding registers (4x)
set part1Edit|0105
set Tag-Name|Speed1
button Add
expect-row tags|00001\t001\t40100 : 020\t40105\t2\tSpeed1
expect-row usedIn|(not used)
button Cancel
choose Tag Range|Holding registers (4x)
set part1Edit|0300
check Coil or Bit-addressed Register
set bitEdit|05
set Tag-Name|Alarm bit
button Add
expect-row tags|Alarm bit
choose Tag Range|Coils (0x)
set part1Edit|0001
set Tag-Name|Start
button Add
expect-row tags|00001\t001\t00001 : 255\t00001\t-\tStart
choose Node|$omron
choose Tag Range|DM words
check Register
set part1Edit|0010
choose Byte(s)|1-Byte
check High-byte
set Tag-Name|Recipe high
button Add
expect-row tags|1 High
choose Tag Range|DM words
set part1Edit|0020
choose Byte(s)|4-Bytes (2-Words)
set Tag-Name|Total
button Add
expect-rows tags|5
# Filter by name, then by address.
set filter|SPEED
expect-rows tags|1
set filter|DM00
expect-rows tags|2
set filter|
expect-rows tags|5
# Change the name in place, then delete the coil with its block.
choose tags|Speed1
set Tag-Name|Speed
button Change
expect-row tags|Speed
choose tags|Start
key Delete
wait-text Are you sure to delete\nTag of number 1 
button Yes
wait-dialog Quillon : Tags
expect-no-row tags|Start
expect-rows tags|4
screenshot-dialog $shot
button Close
menu Define/VQ5K Settings...
wait-dialog VQ5K's settings
choose Baud Rate|19200
set Number of columns|40
button OK
menu File/Save
wait-dialog Save Quillon Application
file $saved
quit
STEPS
out=$(timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --script "$run/script.txt" 2>"$run/stderr.txt") || {
  echo "$out"
  echo "gui-network: the scripted session failed" >&2
  cat "$run/stderr.txt" >&2
  exit 1
}
if [ ! -s "$saved" ]; then
  echo "gui-network: the application was not saved to $saved" >&2
  exit 1
fi
"$cli" --workdir "$run/work" check "$saved"
"$cli" --workdir "$run/work" tags export "$saved" "$run/tags.csv"
tags=$(tr -d '\r' <"$run/tags.csv")
expected='node,kind,address,bit,bytes,byte,name
1,register,40105,,2,low,Speed
1,bit,40300,5,,,Alarm bit
2,register,DM0010,,1,high,Recipe high
2,register,DM0020,,4,low,Total'
if [ "$tags" != "$expected" ]; then
  echo "gui-network: the saved tags are" >&2
  echo "$tags" >&2
  exit 1
fi
# The communication parameters of the Omron node (station 7, 19.2K, parity kept) and the printer settings.
"$cli" --workdir "$run/work" export "$saved" "$run/network.json" >/dev/null
for wanted in '"specialData": [7, 1, 1]' '"printerBaud": 5' '"printerColumns": 40'; do
  if ! grep -qF "$wanted" "$run/network.json"; then
    echo "gui-network: the saved application lacks $wanted" >&2
    exit 1
  fi
done
info=$("$cli" --workdir "$run/work" info "$saved")
echo "$info"
echo "gui-network: ok, the tag editor's picture is $shot"
