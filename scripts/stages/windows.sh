#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program for 32-bit Windows, cross-built with mingw-w64 against the
# Windows SDK (static Qt and libjpeg-turbo, built once and cached by
# scripts/windows-sdk.sh), statically linked, and tested under wine:
#   - the Qt-free core (protocol, address checks, endpoint without an event
#     loop) with the tests of the Windows-only code, on loopback;
#   - the widget tests and the main window's tests that need no network;
#   - in the network lab: the installer run silently, the installed program
#     against the simulated devices, one device configured, the uninstaller.
# Every wine step is bounded; the stage's wine servers are stopped at the end.
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
TB_DEPS_EXTRA="g++-mingw-w64-i686-posix googletest nsis zip wine wine32:i386 fonts-liberation2 xdotool openbox" \
  bash "$root/scripts/deps.sh"

# SDK, GoogleTest for mingw, the program, its tests, installer and zip.
bash "$root/scripts/windows-build.sh" "$dir"

echo "windows: the Qt-free core"
cmake -S "$root" -B "$dir/core" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTB_WITH_QT=OFF -DTB_BUILD_BENCH=OFF \
  -DGTest_DIR="$dir/gtest/lib/cmake/GTest" >/dev/null
cmake --build "$dir/core" -j "$jobs"

# A wine prefix of the stage's own, so its server is the stage's alone.
export WINEPREFIX="$dir/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stop_wine() { timeout 30 wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
# The services must run before the first test: a bare server left it hanging.
timeout 180 wineboot -i >/dev/null 2>&1
for tree in core app; do
  echo "windows: tests of $tree under wine"
  (cd "$dir/$tree" && timeout 900 ctest --output-on-failure -j "$jobs" --timeout 120)
done
stop_wine

echo "windows: the installed program in the lab under wine"
# The simulator is a Linux program: from the plain build, built here if need be.
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$jobs" --target tb-devsim
setup="$(ls "$dir"/app/dist/tarnwick-brelvan-*-win32-setup.exe)"
status=0
bash "$root/tests/windows/wine-lab-test.sh" "$setup" "$root/build/tools/tb-devsim" \
  "$root/tools/demo-fleet.ini" "$dir/lab" || status=$?
if ((status == 77)); then
  echo "windows: lab test skipped (not root)"
elif ((status != 0)); then
  exit "$status"
fi
stop_wine
echo "windows: the window's diagnosis against brelvan.exe doctor in the lab under wine"
status=0
bash "$root/tests/windows/wine-lab-diagnosis.sh" "$dir/app/cli/brelvan.exe" \
  "$dir/app/tests/support/tb_app_probe.exe" "$root/build/tools/tb-devsim" \
  "$root/tools/demo-fleet.ini" "$dir/lab-diagnosis" || status=$?
if ((status == 77)); then
  echo "windows: diagnosis lab test skipped (not root)"
elif ((status != 0)); then
  exit "$status"
fi
echo "windows: screenshots in $dir/lab/"
file "$dir/app/dist/tarnwick-brelvan.exe"
ls -l "$dir/app/dist"
