#!/usr/bin/env bash
# Starts the real Quillon window under a virtual X display in a prepared working directory, creates a new
# application, takes a screenshot and checks the window title. The screenshot is kept in the build
# directory (gui-smoke.png) for whoever looks at the run.
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
src=$(cd "${2:?source directory}" && pwd)

gui="$build/quillon"
[ -x "$gui" ] || gui="$build/apps/quillon/quillon"
if [ ! -x "$gui" ]; then
  echo "gui-smoke: the window is not built (QUILLON_GUI=OFF); nothing to check"
  exit 0
fi
if ! command -v xvfb-run >/dev/null; then
  echo "gui-smoke: xvfb-run is missing (package xvfb)" >&2
  exit 1
fi

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

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
echo "gui-smoke: ok, screenshot in $shot"
