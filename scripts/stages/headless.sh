#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# brelvan's side alone, as a box without a display builds it: no windows, and
# Qt Gui and Widgets hidden from CMake, so that anything that still asks for
# them fails the configure. Builds core, cli, tools and their tests, runs them
# (the lab tests as root, in the lab $TB_LAB_PREFIX-*, default tbhead), and
# checks that brelvan and the simulator need no libQt6Gui or libQt6Widgets
# and that CPack makes brelvan's package alone.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build-headless"
prefix="${TB_LAB_PREFIX:-tbhead}"

# CPack's dependency list reads the programs with file and dpkg-shlibdeps.
TB_DEPS_EXTRA="file dpkg-dev" bash "$root/scripts/deps.sh"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTB_BUILD_GUI=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Gui=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Widgets=ON \
  -DTB_BUILD_BENCH=OFF -DTB_LAB_PREFIX="$prefix" >/dev/null
cmake --build "$dir" -j "$(nproc)"
# The tests' files (simulator logs...) in the tree's own folder, not in a
# /tmp that another tree's run on the same machine writes to as well.
mkdir -p "$dir/tmp"
(cd "$dir" && TEST_TMPDIR="$dir/tmp/" ctest --output-on-failure -j "$(nproc)" --timeout 300)

for program in cli/brelvan tools/tb-devsim; do
  needed="$(readelf -d "$dir/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')"
  if grep -E '^libQt6(Gui|Widgets)' <<<"$needed"; then
    echo "headless: $program needs Qt's windowing libraries" >&2
    exit 1
  fi
  echo "headless: $program needs $(paste -sd ' ' <<<"$needed")"
done

(cd "$dir" && rm -f ./*.deb && cpack -G DEB >/dev/null)
mapfile -t debs < <(cd "$dir" && ls -- *.deb)
if ((${#debs[@]} != 1)) || [[ "${debs[0]}" != brelvan_*.deb ]]; then
  echo "headless: cpack made ${debs[*]}, not brelvan's package alone" >&2
  exit 1
fi
echo "headless: cpack made ${debs[0]}"
