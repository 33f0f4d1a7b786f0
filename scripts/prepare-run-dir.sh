#!/usr/bin/env bash
# Lays out a working directory as the tool expects it on a user's machine:
#   RUN/work      the working directory (settings file, help pages, fonts, picture library, Result/)
#   RUN/plc       the PLC catalog files        (the tool looks for them in ../plc/)
#   RUN/drivers   the PLC driver files         (the tool looks for them in ../drivers/)
# Files the user may have changed (settings, picture library, selected PLC list, applications) are kept.
set -euo pipefail
build=${1:-build}
run=${2:-run}
src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$run/work/Result" "$run/plc" "$run/drivers"
copy_new() { # copy_new FROM TO: copies the files of FROM that TO does not have yet
  local from=$1 to=$2
  [ -d "$from" ] || return 0
  find "$from" -maxdepth 1 -type f ! -name README -print0 | while IFS= read -r -d '' f; do
    [ -e "$to/${f##*/}" ] || cp "$f" "$to/"
  done
}
copy_new "$src/data/plc" "$run/plc"
copy_new "$src/data/drivers" "$run/drivers"
if [ -d "$src/data/help" ]; then mkdir -p "$run/work/help"; cp -r "$src/data/help/." "$run/work/help/"; fi
if [ -d "$src/data/fonts" ]; then mkdir -p "$run/work/fonts"; cp -r "$src/data/fonts/." "$run/work/fonts/"; fi
copy_new "$src/data/work" "$run/work"
echo "working directory: $run/work"
