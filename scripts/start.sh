#!/usr/bin/env bash
# Starts Quillon in the prepared working directory: the window when it is built and a display is there,
# otherwise the command-line tool's help.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
run=${2:-run}
cd "$run/work"
if [ -x "$build/apps/quillon/quillon" ] || [ -x "$build/quillon" ]; then
  gui="$build/quillon"; [ -x "$gui" ] || gui="$build/apps/quillon/quillon"
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then exec "$gui"; fi
  echo "No display found (DISPLAY is not set): showing the command-line tool instead."
fi
exec "$build/quillon-cli" --help
