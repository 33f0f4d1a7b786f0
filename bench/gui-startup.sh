#!/usr/bin/env bash
# Start-up time of the Quillon window against a bare Qt Widgets window started the same way: each program
# is started RUNS times with --quit-when-idle (the window shown, the loop idle, then quit) under a virtual
# X display, in a prepared working directory, and the median wall time of each is reported with their
# ratio. Target: the tool takes at most twice as long as the bare window.
#   bench/gui-startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
runs=${2:-15}
src=$(cd "$(dirname "$0")/.." && pwd)
gui="$build/quillon"
bare="$build/quillon_bare_window"
for program in "$gui" "$bare"; do
  [ -x "$program" ] || { echo "gui-startup: $program is not built" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "gui-startup: xvfb-run is missing (package xvfb)" >&2; exit 1; }

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null

# One X server for all runs, so that the server's start is not counted.
cat >"$run/measure.sh" <<'INNER'
set -euo pipefail
runs=$1; shift
for program in "$@"; do
  times=()
  "$program" --no-splash --quit-when-idle >/dev/null 2>&1 || true   # warm the file cache
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$program" --no-splash --quit-when-idle >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  echo "$median"
done
INNER
cd "$run/work"
mapfile -t medians < <(xvfb-run -a -s "-screen 0 1280x1024x24" bash "$run/measure.sh" "$runs" "$gui" "$bare")
tool=${medians[0]}
base=${medians[1]}
ratio=$(awk -v a="$tool" -v b="$base" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
echo "quillon:      ${tool} ms (median of $runs)"
echo "bare window:  ${base} ms (median of $runs)"
echo "ratio:        ${ratio} (target <= 2.00)"
awk -v r="$ratio" 'BEGIN { exit (r <= 2.0 ? 0 : 1) }' || { echo "gui-startup: over the target" >&2; exit 1; }
