#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole suite under ThreadSanitizer: the listener thread and its hand-over
# to the GUI thread are what it watches. Any report fails its test.
set -euo pipefail
stages="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$stages/tsan.supp"
bash "$stages/sanitized.sh" thread tsan
