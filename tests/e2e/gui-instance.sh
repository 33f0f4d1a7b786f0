#!/usr/bin/env bash
# One Quillon per working directory: a file named at start is opened at once, a second start hands its file
# to the running tool (which opens it) and ends, the lock of a killed tool is taken over, and a tool that
# closed its window (a tool tip shown at the time included) has ended and left the directory free.
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
command -v xwininfo >/dev/null || { echo "gui-instance: xwininfo is missing (package x11-utils)" >&2; exit 1; }

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

# Opened from the file manager: the file named is opened at once, with no greeting in front of it. The
# display the tool runs on is noted, so that its windows can be listed.
cli="$build/quillon-cli"
[ -x "$cli" ] || cli="$build/apps/quillon-cli/quillon-cli"
"$cli" new --model 500 "Result/Plant A.ovm" >/dev/null
"$cli" new --model 500 "Result/Plant B.ovm" >/dev/null
"${xvfb[@]}" bash -c 'printf "%s\n%s\n" "$DISPLAY" "${XAUTHORITY:-}" >"$1.part"; mv "$1.part" "$1"; exec "${@:2}"' _ \
  "$run/display" "$gui" "Result/Plant A.ovm" >/dev/null 2>"$run/first-err.txt" &
for _ in $(seq 100); do [ -s quillon.lock ] && [ -s "$run/display" ] && break; sleep 0.1; done
[ -s quillon.lock ] || { echo "gui-instance: the first tool took no lock" >&2; exit 1; }
first=$(head -n1 quillon.lock)
windows() {
  DISPLAY=$(sed -n 1p "$run/display") XAUTHORITY=$(sed -n 2p "$run/display") xwininfo -root -tree 2>/dev/null || true
}
# The main window (and a greeting) are the windows of class "quillon" with a title.
shows() { windows | grep -qF "\"Quillon - [$run/work/Result/$1]\": (\"quillon\""; }
greeting=0
for _ in $(seq 300); do
  shows "Plant A.ovm" && break
  [ "$(windows | grep -c '"Quillon": ("quillon"')" -lt 2 ] || greeting=1
  sleep 0.1
done
if ! shows "Plant A.ovm"; then
  echo "gui-instance: the file named at start was not opened (the title keeps its capitals); windows:" >&2
  windows | grep -F '("quillon"' >&2
  cat "$run/first-err.txt" >&2
  exit 1
fi
[ "$greeting" -eq 0 ] || { echo "gui-instance: a greeting came up in front of the file named at start" >&2; exit 1; }

# A second start with a file while the tool runs hands the file over and ends; the running window opens it.
set +e
timeout 30 "${xvfb[@]}" "$gui" "Result/Plant B.ovm" >"$run/second.txt" 2>&1
second=$?
set -e
if [ "$second" -ne 0 ]; then
  cat "$run/second.txt" >&2
  echo "gui-instance: the second start did not hand its file over and end (exit $second)" >&2
  exit 1
fi
for _ in $(seq 100); do shows "Plant B.ovm" && break; sleep 0.1; done
shows "Plant B.ovm" || { echo "gui-instance: the running window did not open the file handed over" >&2; windows >&2; exit 1; }
kill -0 "$first" 2>/dev/null || { echo "gui-instance: the running tool ended" >&2; exit 1; }
# Without a file the second start only brings the running window forward.
timeout 30 "${xvfb[@]}" "$gui" >/dev/null 2>&1 || { echo "gui-instance: a second start without a file did not end" >&2; exit 1; }
shows "Plant B.ovm" || { echo "gui-instance: a second start without a file changed the window" >&2; exit 1; }
[ "$(head -n1 quillon.lock)" = "$first" ] || { echo "gui-instance: the lock changed hands" >&2; exit 1; }

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
