#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole suite in the optimised build that the demo also uses.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
bash "$root/scripts/build.sh" "$root/build"
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
