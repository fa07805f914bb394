#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole suite in a Debug build under one sanitizer; run by asan.sh and
# tsan.sh, which set the sanitizer's options first.
#   sanitized.sh SANITIZER NAME   builds with -DTB_SANITIZE=SANITIZER in
#                                 build-NAME/, the lab prefixed TB_LAB_PREFIX
#                                 (default tbNAME)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if (($# != 2)); then
  echo "usage: sanitized.sh SANITIZER NAME (run by asan.sh and tsan.sh)" >&2
  exit 2
fi
sanitizer="$1"
name="$2"
dir="$root/build-$name"
TB_BUILD_TYPE=Debug bash "$root/scripts/build.sh" "$dir" -DTB_SANITIZE="$sanitizer" \
  -DTB_BUILD_BENCH=OFF -DTB_LAB_PREFIX="${TB_LAB_PREFIX:-tb$name}"
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600
