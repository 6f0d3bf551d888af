#!/usr/bin/env bash
# Runs every fuzz target for a fixed time over its seed corpus (the inputs that once
# broke the program among them) and prints the executions of each. New inputs that
# reach new code go to a scratch copy of the corpus, not into the repository; what a
# target finds (crash-*, leak-*, timeout-*, oom-* files) goes to a findings directory
# beside the targets, in the build tree.
set -euo pipefail
targets="$(cd "$1" && pwd)"
corpus="$(cd "$2" && pwd)"
seconds="${3:-20}"
findings="$targets/findings"
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for binary in "$targets"/*_fuzz; do
  name=$(basename "$binary")
  mkdir -p "$work/$name"
  [ -d "$corpus/$name" ] && cp "$corpus/$name"/* "$work/$name"/ 2>/dev/null || true
  # Run from the scratch directory: whatever libFuzzer writes into its working
  # directory stays out of the source tree.
  if (cd "$work" && "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/$name-" "$work/$name") > "$work/$name.log" 2>&1; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$work/$name.log" | awk '{print $2}')
    printf '%-20s %10s executions, no finding\n' "$name" "$runs"
  else
    status=1
    printf '%-20s FINDING (kept in %s)\n' "$name" "$findings"
    tail -30 "$work/$name.log"
  fi
done
exit $status
