#!/usr/bin/env bash
# The whole suite under ThreadSanitizer: the listener thread and its hand-over
# to the GUI thread are what it watches. Any report fails its test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build-tsan"
TB_BUILD_TYPE=Debug bash "$root/scripts/build.sh" "$dir" -DTB_SANITIZE=thread \
  -DTB_BUILD_BENCH=OFF -DTB_LAB_PREFIX=tbtsan
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/scripts/stages/tsan.supp"
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600
