# The start every end-to-end script of the window shares; sourced with the script's name and its arguments:
#   . "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-name "$@"
# Sets build and src (the build and source directories given), gui and cli (the two programs), and scratch (a
# folder removed at exit unless KEEP is set). A build without the window passes with a note; a machine without
# xvfb-run fails. LeakSanitizer is given the kept list of the system libraries' own leaks (tests/asan/lsan.supp).
e2e_name=$1
build=$(cd "${2:?build directory}" && pwd)
src=$(cd "${3:?source directory}" && pwd)
gui="$build/quillon"
[ -x "$gui" ] || gui="$build/apps/quillon/quillon"
cli="$build/quillon-cli"
[ -x "$cli" ] || cli="$build/apps/quillon-cli/quillon-cli"
if [ ! -x "$gui" ]; then
  echo "$e2e_name: the window is not built (QUILLON_GUI=OFF); nothing to check"
  exit 0
fi
if ! command -v xvfb-run >/dev/null; then
  echo "$e2e_name: xvfb-run is missing (package xvfb)" >&2
  exit 1
fi
scratch=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$scratch"' EXIT
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$src/tests/asan/lsan.supp"
