#!/usr/bin/env bash
# Plays the getting-started guide's script (docs/getting-started/guide.script) in the real window under a
# virtual X display, in a fresh working directory with an emulated VQ5K-822 on COM2, and writes the
# guide's pictures into PICTURES. Every step must run; the saved application must pass `check`.
#   scripts/getting-started.sh BUILD PICTURES      (make docs: PICTURES is docs/getting-started)
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
pictures=${2:?folder for the pictures}
src=$(cd "$(dirname "$0")/.." && pwd)
gui="$build/quillon"
sim="$build/quillon-unitsim"
for program in "$gui" "$sim" "$build/quillon-cli"; do
  [ -x "$program" ] || { echo "getting-started: $program is not built" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "getting-started: xvfb-run is missing (package xvfb)" >&2; exit 1; }
mkdir -p "$pictures"
pictures=$(cd "$pictures" && pwd)

run=$(mktemp -d)
simpid=
cleanup() {
  [ -z "$simpid" ] || { kill "$simpid" 2>/dev/null || true; wait "$simpid" 2>/dev/null || true; }
  [ -n "${KEEP:-}" ] || rm -rf "$run"
}
trap cleanup EXIT
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
work="$run/work"
shots="$run/pictures"
mkdir -p "$shots"

# The unit the guide downloads to.
"$sim" --quiet --model 500 --link "$run/unit" >"$run/sim.log" 2>&1 &
simpid=$!
for _ in $(seq 100); do [ -e "$run/unit" ] && break; sleep 0.1; done
[ -e "$run/unit" ] || { cat "$run/sim.log"; echo "getting-started: the emulated unit did not start" >&2; exit 1; }
printf 'COM2=%s\n' "$run/unit" >"$work/ports.cfg"

sed -e "s|@WORK@|$work|g; s|@PICTURES@|$shots|g" \
  "$src/docs/getting-started/guide.script" >"$run/guide.txt"
cd "$work"
status=0
timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --no-splash --script "$run/guide.txt" \
  >"$run/out" 2>"$run/err" || status=$?
steps=$(grep -cv '^\(#\|$\)' "$run/guide.txt")
ran=$(grep -c '^step ' "$run/out" || true)
if [ "$status" -ne 0 ] || [ "$ran" -ne "$steps" ]; then
  cat "$run/out" "$run/err"
  echo "getting-started: $ran of $steps steps ran (exit $status)" >&2
  exit 1
fi
"$build/quillon-cli" --workdir "$work" check "$work/Result/pump-station.ovm" >/dev/null ||
  { echo "getting-started: the application of the guide does not pass check" >&2; exit 1; }
[ -s "$work/Result/pump-station.pdf" ] || { echo "getting-started: no report" >&2; exit 1; }
cp "$shots"/*.png "$pictures/"
echo "getting-started: all $steps steps ran; pictures in $pictures"
