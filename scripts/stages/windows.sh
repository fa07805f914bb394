#!/usr/bin/env bash
# The Qt-free core (protocol, address checks, endpoint) cross-built as 32-bit
# Windows programs with mingw-w64, statically linked, and its tests run under
# wine. Every wine step is bounded; the stage's own wine server is stopped at
# the end. The tests send only on the loopback address.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build-win32"
toolchain="$root/cmake/mingw-w64-i686.cmake"
jobs="$(nproc)"
((jobs > 2)) && jobs=2

# 32-bit wine needs the i386 architecture; deps.sh then installs only what is missing.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "windows: adding the i386 architecture"
  dpkg --add-architecture i386
  apt-get update -qq
fi
TB_DEPS_EXTRA="g++-mingw-w64-i686-posix googletest wine wine32:i386" bash "$root/scripts/deps.sh"

# GoogleTest for the Windows toolchain, from Debian's sources; built once.
gtest="$dir/gtest"
if [[ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]]; then
  echo "windows: building GoogleTest for mingw"
  cmake -S /usr/src/googletest -B "$dir/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest" \
    >/dev/null
  cmake --build "$dir/googletest" -j "$jobs" >/dev/null
  cmake --install "$dir/googletest" >/dev/null
fi

cmake -S "$root" -B "$dir/tb" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTB_BUILD_GUI=OFF -DTB_BUILD_BENCH=OFF \
  -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null
cmake --build "$dir/tb" -j "$jobs"

# A wine prefix of the stage's own, so its server is the stage's alone.
export WINEPREFIX="$dir/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stop_wine() { timeout 30 wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
# The services must run before the first test: a bare server left it hanging.
timeout 180 wineboot -i >/dev/null 2>&1
cd "$dir/tb"
timeout 600 ctest --output-on-failure -j "$jobs" --timeout 120
