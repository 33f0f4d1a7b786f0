#!/usr/bin/env bash
# Writes a help2man include section with the --help of every quillon-cli command (and of the commands
# under it), so that the manual page shows each command's options as the tool itself states them.
#   cli-commands-h2m.sh QUILLON-CLI OUTPUT
set -euo pipefail
cli=$1
out=$2

subcommands() { # the names of the Subcommands: section of `quillon-cli ARGS --help`
  "$cli" "$@" --help | awk '/^[A-Z][A-Za-z]*:$/ { on = ($0 == "Subcommands:"); next } on && NF { print $1 }'
}
# roff: a line may not begin with a dot or an apostrophe; a backslash is written as \e.
roff() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

section() { # one command and, below it, the commands under it
  printf '.SS "quillon-cli %s"\n.nf\n' "$*"
  # The usage line names the program as it was started: shown by its installed name.
  "$cli" "$@" --help | sed -e "1,/^Usage:/ s|^Usage: [^ ]*|Usage: quillon-cli|" | roff
  printf '.fi\n'
  local sub
  for sub in $(subcommands "$@"); do
    section "$@" "$sub"
  done
}

{
  echo "[COMMANDS]"
  for command in $(subcommands); do
    section "$command"
  done
} >"$out.tmp"
mv "$out.tmp" "$out"
