#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole suite under AddressSanitizer + UndefinedBehaviorSanitizer; any
# report fails its test.
set -euo pipefail
stages="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$stages/lsan.supp:print_suppressions=0"
bash "$stages/sanitized.sh" address asan
