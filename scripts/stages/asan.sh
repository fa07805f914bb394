#!/usr/bin/env bash
# The whole suite under AddressSanitizer + UndefinedBehaviorSanitizer; any
# report fails its test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build-asan"
TB_BUILD_TYPE=Debug bash "$root/scripts/build.sh" "$dir" -DTB_SANITIZE=address \
  -DTB_BUILD_BENCH=OFF -DTB_LAB_PREFIX=tbasan
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/stages/lsan.supp:print_suppressions=0"
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600
