#!/usr/bin/env bash
# One Quillon per working directory: a second start is refused while the first one runs, the lock of a
# killed tool is taken over, and a tool that closed its window (a tool tip shown at the time included) has
# ended and left the directory free.
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
src=$(cd "${2:?source directory}" && pwd)

gui="$build/quillon"
[ -x "$gui" ] || gui="$build/apps/quillon/quillon"
if [ ! -x "$gui" ]; then
  echo "gui-instance: the window is not built (QUILLON_GUI=OFF); nothing to check"
  exit 0
fi
command -v xvfb-run >/dev/null || { echo "gui-instance: xvfb-run is missing (package xvfb)" >&2; exit 1; }

run=$(mktemp -d)
first=""
cleanup() {
  [ -n "$first" ] && kill -9 "$first" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")

# A window that rests with the pointer on a tool-station button, a new application and a screen session
# open, then closes through File > Exit answering No: the process must end by itself.
printf '%s\n' \
  "menu File/New..." \
  "wait-dialog Quillon : New Application" \
  "key Return" \
  "hover Screens" \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "hover Zoom In" \
  "menu File/Exit" \
  "wait-dialog Quillon : Confirmation" \
  "button No" >"$run/exit.txt"
if ! timeout 60 "${xvfb[@]}" "$gui" --script "$run/exit.txt" >"$run/out.txt" 2>"$run/err.txt"; then
  cat "$run/out.txt" "$run/err.txt" >&2
  echo "gui-instance: the tool did not end after File > Exit" >&2
  exit 1
fi
[ ! -e quillon.lock ] || { echo "gui-instance: the lock outlived the tool" >&2; exit 1; }

# A running tool holds the directory: a second start is refused (it shows its message and waits for Ok,
# so it is still running when the time is up).
"${xvfb[@]}" "$gui" --no-splash >/dev/null 2>&1 &
for _ in $(seq 100); do [ -s quillon.lock ] && break; sleep 0.1; done
[ -s quillon.lock ] || { echo "gui-instance: the first tool took no lock" >&2; exit 1; }
first=$(head -n1 quillon.lock)
set +e
timeout 8 "${xvfb[@]}" "$gui" --screenshot "$run/second.png" >"$run/second.txt" 2>&1
second=$?
set -e
if [ "$second" -ne 124 ] || [ -e "$run/second.png" ]; then
  echo "gui-instance: a second start beside a running tool was not refused (exit $second)" >&2
  exit 1
fi

# Killed: its lock is left behind, and the next start takes it over.
kill -9 "$first"
for _ in $(seq 50); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
first=""
[ -e quillon.lock ] || { echo "gui-instance: expected the killed tool's lock to be left" >&2; exit 1; }
out=$(timeout 60 "${xvfb[@]}" "$gui" --screenshot "$run/after-kill.png" 2>"$run/err.txt") || {
  cat "$run/err.txt" >&2
  echo "gui-instance: the start after a killed tool was refused" >&2
  exit 1
}
grep -qxF "title: Quillon" <<<"$out" || { echo "gui-instance: unexpected output: $out" >&2; exit 1; }
echo "gui-instance: ok"
