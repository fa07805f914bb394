#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each libFuzzer harness for TB_FUZZ_SECONDS (default 60) from the seed corpus
# in the repository; a crash, leak or sanitizer report fails the stage.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build-fuzz"
seconds="${TB_FUZZ_SECONDS:-60}"
bash "$root/scripts/build.sh" "$dir" -DCMAKE_CXX_COMPILER=clang++ -DTB_FUZZ=ON
for harness in messages addresses config firewall batch; do
  corpus="$dir/corpus-$harness"
  mkdir -p "$corpus"
  echo "fuzz: $harness for $seconds s"
  # New inputs go to the scratch corpus; the repository's seeds are read only.
  log="$dir/fuzz-$harness.log"
  if ! "$dir/tests/fuzz/fuzz_$harness" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/crash-$harness-" \
    "$corpus" "$root/tests/fuzz/corpus/$harness" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $harness failed; the input is in $dir/crash-$harness-*" >&2
    exit 1
  fi
  grep -E "^stat::number_of_executed_units" "$log" | sed "s/^/fuzz: $harness /"
done
