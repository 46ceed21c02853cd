#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for the given number of seconds each.
# Each run starts from the committed seeds (fuzz/seeds/<target>, a minimised corpus) and keeps
# what it finds in fuzz-corpus/fuzz_<target>. To fold those finds into the seeds, keeping only
# inputs that add coverage:
#   build-fuzz/fuzz/fuzz_<target> -set_cover_merge=1 fuzz/seeds/<target> fuzz-corpus/fuzz_<target>
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
