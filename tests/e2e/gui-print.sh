#!/usr/bin/env bash
# Prints the application report from the real window under a virtual X display: the Print Selection
# dialog, the system print dialog set to "Print to File (PDF)", then the same report from quillon-cli,
# which must give the same pages; the dialog proposes the application's name as the PDF file and the
# status bar says where the report went. Also the question while a screen is edited (No keeps the session,
# Yes closes it and prints) and the selection cleared when the application closes.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/window.sh" gui-print "$@"
run="$scratch"

for tool in xvfb-run pdftotext pdftoppm; do
  command -v "$tool" >/dev/null || { echo "gui-print: $tool is missing" >&2; exit 1; }
done

bash "$src/scripts/prepare-run-dir.sh" "$build" "$run" >/dev/null
cd "$run/work"

app="$run/work/Result/report.ovm"
"$cli" import "$src/tests/data/print/report-500.json" "$app" >/dev/null
message='Close the screen session and print?'

printf '%s\n' \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $app" \
  "menu File/Print" \
  "wait-dialog Quillon  : Print Selection" \
  "expect all|unchecked" \
  "check All" \
  "expect tags|checked" \
  "expect screenkeys|checked" \
  "button OK" \
  "expect-print-file $run/work/Result/report.pdf" \
  "print-to-file $run/gui.pdf" \
  "expect-status The report was written to $run/gui.pdf." \
  "menu Define/Screens..." \
  "menu File/Print" \
  "wait-dialog Quillon : Confirmation" \
  "wait-text $message" \
  "button No" \
  "menu File/Print" \
  "wait-dialog Quillon : Confirmation" \
  "wait-text $message" \
  "button Yes" \
  "wait-dialog Quillon  : Print Selection" \
  "expect all|checked" \
  "button Cancel" \
  "menu File/Close" \
  "wait-dialog Quillon : Confirmation" \
  "button No" \
  "menu File/Open..." \
  "wait-dialog Open Quillon Application" \
  "file $app" \
  "menu File/Print" \
  "wait-dialog Quillon  : Print Selection" \
  "expect all|unchecked" \
  "expect tags|unchecked" \
  "button Cancel" \
  "quit" \
  "wait-dialog Quillon : Confirmation" \
  "button No" >"$run/script.txt"

timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --no-splash --script "$run/script.txt" >"$run/out" 2>"$run/err" || {
  cat "$run/out" "$run/err"
  echo "gui-print: the script failed" >&2
  exit 1
}
steps=$(wc -l <"$run/script.txt")
[ "$(grep -c '^step ' "$run/out")" -eq "$steps" ] || { cat "$run/out"; echo "gui-print: not every step ran" >&2; exit 1; }
[ -s "$run/gui.pdf" ] || { echo "gui-print: no PDF from the window" >&2; exit 1; }

# The same report from the command line: the same text and the same pictures on every page.
"$cli" report "$app" "$run/cli.pdf" >/dev/null
pdftotext -layout "$run/gui.pdf" "$run/gui.txt"
pdftotext -layout "$run/cli.pdf" "$run/cli.txt"
diff "$run/gui.txt" "$run/cli.txt" || { echo "gui-print: the window's report reads differently" >&2; exit 1; }
grep -q "Page No : 7" "$run/gui.txt" || { echo "gui-print: seven pages expected" >&2; exit 1; }
pdftoppm -r 40 -gray "$run/gui.pdf" "$run/gui"
pdftoppm -r 40 -gray "$run/cli.pdf" "$run/cli"
for page in "$run"/gui-*.pgm; do
  other="$run/cli-${page##*/gui-}"
  cmp -s "$page" "$other" || { echo "gui-print: ${page##*/} differs from the command line's" >&2; exit 1; }
done
echo "gui-print: the window printed the report to a PDF file, the same as quillon-cli report"
