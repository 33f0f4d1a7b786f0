#!/usr/bin/env bash
# Bad input through the command-line tool: output paths that are no regular file, text forms and
# application files that would once end the program or pass unnoticed. Each is refused with a message and
# exit code 1, or handled, and leaves nothing half-written.
set -euo pipefail
build="$1"
source_dir="$2"
cli="$build/quillon-cli"
[ -x "$cli" ] || { echo "quillon-cli not built"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tool"
cp -r "$source_dir/data/plc" "$work/plc"
run() { "$cli" --workdir "$work/tool" "$@"; }
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && cat "$work/out"; [ -f "$work/err" ] && cat "$work/err"; exit 1; }
run new --model 40 "$work/app.ovm" >/dev/null 2>&1 || fail "new"

# Output targets that are no regular file: a pipe is written to (and stays a pipe), a link to a pipe is the
# pipe, a link to a file replaces the file and keeps the link, a folder is refused and left as it was.
mkfifo "$work/pipe"
cat "$work/pipe" >"$work/from-pipe" &
reader=$!
run export "$work/app.ovm" "$work/pipe" 2>"$work/err" || fail "export to a pipe"
wait "$reader"
[ -p "$work/pipe" ] || fail "the pipe was replaced"
grep -q '"format": "quillon-application"' "$work/from-pipe" || fail "the pipe did not get the text form"
ln -s "$work/pipe" "$work/to-pipe"
cat "$work/pipe" >"$work/from-link" &
reader=$!
run export "$work/app.ovm" "$work/to-pipe" 2>"$work/err" || fail "export through a link to a pipe"
wait "$reader"
[ -L "$work/to-pipe" ] && [ -p "$work/pipe" ] || fail "the link or the pipe was replaced"
cmp -s "$work/from-pipe" "$work/from-link" || fail "the link to the pipe got other bytes"
echo old >"$work/real.json"
ln -s "$work/real.json" "$work/to-real.json"
run export "$work/app.ovm" "$work/to-real.json" 2>"$work/err" || fail "export through a link to a file"
[ -L "$work/to-real.json" ] || fail "the link was replaced"
cmp -s "$work/real.json" "$work/from-pipe" || fail "the linked file did not get the text form"
mkdir "$work/folder.json"
if run export "$work/app.ovm" "$work/folder.json" 2>"$work/err"; then fail "export onto a folder succeeded"; fi
grep -q "It is a folder, not a file." "$work/err" || fail "no message for a folder"
[ -d "$work/folder.json" ] || fail "the folder was replaced"
ls -A "$work" | grep -q '^\.folder' && fail "a temporary file was left beside the folder"
# new, tags export and import share the writer.
mkfifo "$work/pipe2"
cat "$work/pipe2" >"$work/from-new" &
reader=$!
run new --model 40 "$work/pipe2" >/dev/null 2>"$work/err" || fail "new into a pipe"
wait "$reader"
[ -p "$work/pipe2" ] && [ -s "$work/from-new" ] || fail "new replaced the pipe or wrote nothing"
if run new --model 40 "$work/folder.json" >/dev/null 2>"$work/err"; then fail "new onto a folder succeeded"; fi
echo ok
