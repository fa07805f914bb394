#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the files a release publishes from the checkout SRC, in
# SRC/build-release/ (only what is published: no tests, no benchmarks), and
# copies them into OUT: the Debian packages, the Windows programs, their
# installer and zip. Windows files are signed when the environment names a
# certificate (scripts/sign-windows.sh). Needs the Windows SDK
# (scripts/windows-sdk.sh builds it once). Usage: publish-build.sh SRC OUT
set -euo pipefail
src="$(cd "$1" && pwd)"
out="$2"
build_type="${TB_BUILD_TYPE:-RelWithDebInfo}"
jobs="$(nproc)"
sdk="$(bash "$src/scripts/windows-sdk.sh" | tail -n1)"
linux="$src/build-release/linux"
win="$src/build-release/win32"
mkdir -p "$out"

cmake -S "$src" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
  -DTB_BUILD_TESTS=OFF -DTB_BUILD_BENCH=OFF >/dev/null
cmake --build "$linux" -j "$jobs" >/dev/null
rm -rf "$linux/packages"
# CPack gives the folders it makes, and the .deb's own members, the umask's modes.
(umask 022 && cd "$linux" && cpack -G DEB -B "$linux/packages" >/dev/null)
cp "$linux/packages"/*.deb "$out/"

cmake -S "$src" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
  -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-i686.cmake" \
  -DTB_WINDOWS_ROOTS="$sdk/qt;$sdk/libjpeg" -DQT_HOST_PATH=/usr \
  -DTB_BUILD_TESTS=OFF -DTB_BUILD_BENCH=OFF >/dev/null
# The installer is made again, so that a certificate named now signs it.
rm -f "$win/dist"/*-setup.exe
cmake --build "$win" -j "$jobs" --target windows-dist >/dev/null
cp "$win/dist/tarnwick-brelvan.exe" "$win/dist/brelvan.exe" "$win/dist"/*-win32-setup.exe \
  "$win/dist"/*-win32.zip "$win/dist/NOTICES.txt" "$out/"
