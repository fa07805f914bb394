#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything for 32-bit Windows on Debian 12, as root: the Windows SDK
# (static Qt and libjpeg-turbo, scripts/windows-sdk.sh; built once and cached),
# GoogleTest for mingw, then the program, its tests, the installer and the
# portable zip. Usage: windows-build.sh [DIR] (default build-win32); the
# results are in DIR/app/dist/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$root/build-win32}"
toolchain="$root/cmake/mingw-w64-i686.cmake"
jobs="$(nproc)"

TB_DEPS_EXTRA="g++-mingw-w64-i686-posix googletest nsis zip" bash "$root/scripts/deps.sh"
sdk="$(bash "$root/scripts/windows-sdk.sh" | tail -n1)"

# GoogleTest for the Windows toolchain, from Debian's sources; built once.
gtest="$dir/gtest"
if [[ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]]; then
  echo "windows-build: building GoogleTest for mingw"
  cmake -S /usr/src/googletest -B "$dir/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest" \
    >/dev/null
  cmake --build "$dir/googletest" -j "$jobs" >/dev/null
  cmake --install "$dir/googletest" >/dev/null
fi

# RelWithDebInfo, as the Debian package: GCC 12's -O3 warns falsely of
# overlapping copies inside std::string. The installer's program is stripped.
echo "windows-build: the program, its tests and the installer with the SDK in $sdk"
cmake -S "$root" -B "$dir/app" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTB_WINDOWS_ROOTS="$sdk/qt;$sdk/libjpeg" \
  -DQT_HOST_PATH=/usr -DTB_BUILD_BENCH=OFF -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null
cmake --build "$dir/app" -j "$jobs"
ls -l "$dir/app/dist"
