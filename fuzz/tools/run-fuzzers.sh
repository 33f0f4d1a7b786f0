#!/bin/bash
# Runs every fuzz target of a libFuzzer build for SECONDS seconds each on its kept corpus
# (fuzz/corpus/<name>/, where new inputs are kept) and appends the run to docs/fuzzing.md: executions,
# speed, corpus size and findings per target, then the cumulative executions of every target.
# A finding (crash, leak, timeout, out-of-memory) is left in fuzz/findings/<name>/ and fails the run.
# New inputs go to a scratch folder first (libFuzzer replaces inputs it shortens in the folder it writes to),
# then only those that add coverage are merged into the kept corpus, which loses nothing.
# FUZZ_SECONDS_<name> gives one target its own time; FUZZ_ONLY (a pattern) runs only the targets it matches.
#
#   fuzz/tools/run-fuzzers.sh BUILD_DIR SECONDS [LABEL]
set -u
build=$1
seconds=$2
label=${3:-run}
log=docs/fuzzing.md
status=0
stamp=$(date -u '+%Y-%m-%d %H:%M')
commit=$(git rev-parse --short HEAD 2>/dev/null || echo unknown)
rows=()
# The reader's targets rebuild nodes from the shipped PLC catalogs.
export QUILLON_PLC_DIR="${QUILLON_PLC_DIR:-$PWD/data/plc}"
# Allocation stacks cost a tenth of an execution; a finding is replayed with full stacks to read it.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0}"
for f in "$build"/fuzz/fuzz_*; do
  name=${f##*/fuzz_}
  case "$name" in ${FUZZ_ONLY:-*}) ;; *) continue ;; esac
  own="FUZZ_SECONDS_$name"
  time=${!own:-$seconds}
  mkdir -p "fuzz/corpus/$name" "fuzz/findings/$name"
  scratch="$build/fuzz/new-$name"
  rm -rf "$scratch" && mkdir -p "$scratch"
  before=$(ls "fuzz/findings/$name" | wc -l)
  out="$build/fuzz/$name.log"
  echo "== $name ($time s)"
  "$f" -max_total_time="$time" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="fuzz/findings/$name/" "$scratch" "fuzz/corpus/$name" >"$out" 2>&1
  rc=$?
  "$f" -merge=1 "fuzz/corpus/$name" "$scratch" >"$build/fuzz/$name.merge.log" 2>&1 || true
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out" | tail -n 1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out" | tail -n 1)
  corpus=$(ls "fuzz/corpus/$name" | wc -l)
  after=$(ls "fuzz/findings/$name" | wc -l)
  findings="none"
  if [ "$rc" -ne 0 ] || [ "$after" -ne "$before" ]; then
    status=1
    findings="exit $rc: $(ls -t "fuzz/findings/$name" | head -n $((after - before > 0 ? after - before : 1)) | tr '\n' ' ')"
    tail -n 40 "$out"
  fi
  echo "   ${executions:-0} executions, ${speed:-0}/s, corpus $corpus, findings: $findings"
  rows+=("| $stamp | $commit | $label | $name | $time | ${executions:-0} | ${speed:-0} | $corpus | $findings |")
done
{
  for r in "${rows[@]}"; do echo "$r"; done
} >>"$log"
python3 - "$log" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path).read()
totals = {}
for line in text.splitlines():
    cells = [c.strip() for c in line.strip().strip('|').split('|')]
    if len(cells) == 9 and re.fullmatch(r'\d{4}-\d\d-\d\d \d\d:\d\d', cells[0]) and cells[5].isdigit():
        seconds, executions = int(cells[4]), int(cells[5])
        t = totals.setdefault(cells[3], [0, 0])
        t[0] += seconds
        t[1] += executions
block = ['<!-- totals -->', '| Target | Seconds fuzzed | Executions |', '|---|---:|---:|']
block += [f'| {n} | {s} | {e} |' for n, (s, e) in sorted(totals.items())]
block.append('<!-- /totals -->')
text = re.sub(r'<!-- totals -->.*?<!-- /totals -->', '\n'.join(block), text, flags=re.S)
open(path, 'w').write(text)
PY
exit $status
