#!/usr/bin/env bash
# Runs one fuzz target for SECONDS on its committed seeds, keeping what it
# finds in a work folder (never in the seeds). A broken property or a
# sanitizer report fails the run and leaves the input as crash-* in the work
# folder.
# Usage: run_fuzzer.sh TARGET SEED_DIR WORK_DIR SECONDS [libFuzzer options...]
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4
shift 4
mkdir -p "$work/corpus"
cd "$work"
exec nice -n 10 "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -print_final_stats=1 "$@" "$work/corpus" "$seeds"
