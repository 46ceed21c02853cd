#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for the given number of seconds each.
set -euo pipefail
dir=$1
seconds=${2:-60}
status=0
for target in "$dir"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz-corpus/$name"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/${name#fuzz_}"
  echo "== $name ($seconds s)"
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 "${args[@]}"; then
    status=1
  fi
done
exit $status
