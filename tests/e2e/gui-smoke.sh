#!/usr/bin/env bash
# Starts the real Quillon window under a virtual X display in a prepared working directory, creates a new
# application, takes a screenshot and checks the window title. The screenshot is kept in the build
# directory (gui-smoke.png) for whoever looks at the run.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-smoke "$@"
run="$scratch"


bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"
# Under the sanitizers: the X platform plugin's D-Bus library keeps a buffer until the process ends.

shot="$build/gui-smoke.png"
rm -f "$shot"
out=$(timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --new 500 --screenshot "$shot" 2>"$run/stderr.txt") || {
  echo "gui-smoke: the window did not run to its screenshot" >&2
  cat "$run/stderr.txt" >&2
  exit 1
}
echo "$out"
expected="title: Quillon - [untitled]"
if ! grep -qxF "$expected" <<<"$out"; then
  echo "gui-smoke: expected '$expected'" >&2
  exit 1
fi
if [ ! -s "$shot" ] || [ "$(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
  echo "gui-smoke: no PNG screenshot at $shot" >&2
  exit 1
fi
# The working directory is held by this run: a second start there is refused.
if [ -e "$run/work/quillon.lock" ]; then
  echo "gui-smoke: the instance lock was left behind" >&2
  exit 1
fi

# Create, save, close and reopen through the menus of the real window. The file dialog gets a name with
# capitals: the file and the title keep them.
saved="$run/work/Result/Press4.ovm"
shown=$saved
shot2="$build/gui-smoke-reopened.png"
shot3="$build/gui-smoke-screen-session.png"
rm -f "$shot2" "$shot3"
printf '%s\n' \
  "menu File/New..." \
  "wait-dialog Quillon : New Application" \
  "key Return" \
  "expect-title Quillon - [untitled]" \
  "menu Define/Screens..." \
  "wait-dialog Quillon : New Screen" \
  "key Return" \
  "menu Screen/Zoom In" \
  "screenshot $shot3" \
  "menu Screen/Close Screens session" \
  "menu File/Save" \
  "wait-dialog Save Quillon Application" \
  "file $saved" \
  "expect-title Quillon - [$shown]" \
  "menu File/Close" \
  "expect-title Quillon" \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $saved" \
  "expect-title Quillon - [$shown]" \
  "screenshot $shot2" \
  "quit" >"$run/script.txt"
out=$(timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --script "$run/script.txt" 2>"$run/stderr.txt") || {
  echo "$out"
  echo "gui-smoke: the scripted session failed" >&2
  cat "$run/stderr.txt" >&2
  exit 1
}
echo "$out"
if [ ! -s "$saved" ]; then
  echo "gui-smoke: the application was not saved to $saved" >&2
  exit 1
fi
if [ ! -s "$shot3" ]; then
  echo "gui-smoke: no screenshot of the screen session" >&2
  exit 1
fi
if [ ! -s "$shot2" ]; then
  echo "gui-smoke: no screenshot of the reopened application" >&2
  exit 1
fi

# The settings file recorded the application open at exit; the next start reopens it.
out=$(timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$gui" --screenshot "$shot" 2>"$run/stderr.txt") || {
  echo "gui-smoke: the restart did not run to its screenshot" >&2
  cat "$run/stderr.txt" >&2
  exit 1
}
echo "$out"
if ! grep -qxF "title: Quillon - [$shown]" <<<"$out"; then
  echo "gui-smoke: the restart did not reopen $saved" >&2
  exit 1
fi

# Download to the emulated unit and upload it back through the menus, when the emulator is built.
sim="$build/quillon-unitsim"
if [ -x "$sim" ]; then
  "$sim" --quiet --model 10 --link "$run/ttyUNIT" >"$run/sim.out" 2>&1 &
  simpid=$!
  trap 'kill "$simpid" 2>/dev/null || true; rm -rf "$run"' EXIT
  for _ in $(seq 50); do [ -s "$run/sim.out" ] && break; sleep 0.1; done
  device=$(head -n1 "$run/sim.out")
  [ -c "$device" ] || { echo "gui-smoke: the emulator printed no device: $(cat "$run/sim.out")" >&2; exit 1; }
  # The restart above reopened the saved application; a new one replaces it, then goes to the unit.
  printf 'COM2=%s\n' "$device" >"$run/work/ports.cfg"
  printf '%s\n' \
    "menu File/New..." \
    "wait-dialog Quillon : New Application" \
    "key Return" \
    "menu Communicate/Download..." \
    "wait-dialog Downloading from Computer to VQ5K" \
    "button Ok" \
    'wait-text \nDownload is completed successfully.' \
    "button Close" \
    "menu Communicate/Upload..." \
    "wait-dialog Uploading from VQ5K to Computer" \
    "button Ok" \
    "button No" \
    'wait-text \nUpload is completed successfully.' \
    "button Close" \
    "expect-title Quillon - [untitled]" \
    "quit" \
    "button No" >"$run/transfer.txt"
  out=$(timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$gui" --script "$run/transfer.txt" 2>"$run/stderr.txt") || {
    echo "$out"
    echo "gui-smoke: the transfer session failed" >&2
    cat "$run/stderr.txt" >&2
    exit 1
  }
  echo "$out"
  kill "$simpid"
  wait "$simpid" || true
else
  echo "gui-smoke: quillon-unitsim is not built; the transfer session is skipped"
fi
echo "gui-smoke: ok, screenshots in $shot, $shot3 and $shot2"
