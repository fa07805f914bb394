#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole suite in the optimised build that the demo also uses.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# The accessibility lab test reaches the program through AT-SPI.
TB_DEPS_EXTRA="at-spi2-core python3-pyatspi dbus-daemon ${TB_DEPS_EXTRA:-}" bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$root/build"
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
