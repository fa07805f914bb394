#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows SDK that the 32-bit Windows program links against: a
# static Qt (Core, Gui, Widgets, Test, the windows and offscreen platform
# plugins) and a static libjpeg-turbo, both cross-built with mingw-w64 (i686,
# posix threads) from Debian's own source packages, the same versions as the
# host's qt6-base-dev and libjpeg62-turbo-dev. The host's Qt provides moc, rcc
# and uic.
#
# The SDK goes into a cache folder outside the checkout, named after the
# versions and this recipe, and is reused when present:
#   $TB_WINDOWS_SDK_CACHE (default /var/cache/tarnwick-brelvan)/win32-sdk-<key>/
#       qt/  libjpeg/  toolchain.cmake  recipe.txt
#
# Usage (as root on Debian 12; installs what is missing):
#   windows-sdk.sh            build the SDK unless it is there; last line: its folder
#   windows-sdk.sh --prefix   only print the folder the SDK has (or would have)
#
# Knobs: TB_WINDOWS_SDK_CACHE, TB_DEBIAN_MIRROR (default http://deb.debian.org),
# TB_SDK_JOBS (default: the number of cores).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${TB_WINDOWS_SDK_CACHE:-/var/cache/tarnwick-brelvan}"
mirror="${TB_DEBIAN_MIRROR:-http://deb.debian.org}"
jobs="${TB_SDK_JOBS:-$(nproc)}"
host_cmake_dir=/usr/lib/x86_64-linux-gnu/cmake
triplet=i686-w64-mingw32

say() { echo "windows-sdk: $*" >&2; }

# Qt's features: what the program and its tests use, and no more. Debian's
# repack has no src/3rdparty/wintab (hence no tablet events); DirectWrite is
# off with Direct2D, so fonts come from GDI, as a classic Windows dialog's do.
qt_configure=(
  -release -static -static-runtime -xplatform win32-g++
  -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -no-libjpeg -no-gif -no-freetype
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-printsupport
  -no-feature-concurrent -no-feature-vulkan -no-feature-direct2d -no-feature-directwrite
  -no-feature-tabletevent
  -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-doubleconversion
)
jpeg_configure=(
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
  -DWITH_JPEG8=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
)

toolchain_text() {
  cat <<EOF
# mingw-w64 for 32-bit Windows, posix threads; programs link statically.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER $triplet-gcc-posix)
set(CMAKE_CXX_COMPILER $triplet-g++-posix)
set(CMAKE_RC_COMPILER $triplet-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triplet \${CMAKE_CURRENT_LIST_DIR}/libjpeg \${CMAKE_CURRENT_LIST_DIR}/qt)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
EOF
}

package_version() {
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null || true
}

# The host's versions decide the sources; without the host packages there is
# nothing to match, so they are installed first.
TB_DEPS_EXTRA="g++-mingw-w64-i686-posix dpkg-dev" bash "$root/scripts/deps.sh"
qt_version="$(package_version qt6-base-dev)"
jpeg_version="$(package_version libjpeg62-turbo-dev)"
if [[ -z "$qt_version" || -z "$jpeg_version" ]]; then
  say "qt6-base-dev and libjpeg62-turbo-dev must be installed"
  exit 1
fi
recipe="qt6-base $qt_version
libjpeg-turbo $jpeg_version
mingw $(dpkg-query -W -f='${Version}' g++-mingw-w64-i686-posix)
qt: ${qt_configure[*]}
jpeg: ${jpeg_configure[*]}
$(toolchain_text)"
key="$(printf '%s' "$recipe" | sha256sum | cut -c1-12)"
sdk="$cache/win32-sdk-$key"

# fetch_sources APT DEST: the exact source packages into DEST, through a
# private apt configuration kept in APT (the machine's own lists and sources
# stay as they are), each file checked against its .dsc.
fetch_sources() {
  local apt="$1" dest="$2" dsc keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$dest"
  printf 'deb-src [signed-by=%s] %s main\n' \
    "$keyring" "$mirror/debian bookworm" "$keyring" "$mirror/debian bookworm-updates" \
    "$keyring" "$mirror/debian-security bookworm-security" >"$apt/sources.list"
  local apt_private=(
    -o "Dir::Etc::sourcelist=$apt/sources.list" -o Dir::Etc::sourceparts=/nonexistent
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
    -o Debug::NoLocking=1
  )
  say "fetching the source indexes"
  apt-get "${apt_private[@]}" update -qq
  say "downloading qt6-base $qt_version and libjpeg-turbo $jpeg_version"
  (cd "$dest" && apt-get "${apt_private[@]}" source --download-only -qq \
    "qt6-base=$qt_version" "libjpeg-turbo=$jpeg_version")
  # apt has already checked each .dsc against the signed index.
  for dsc in "$dest"/*.dsc; do
    verify_dsc "$dsc" "$dest"
  done
  say "sources verified against their .dsc files"
}

# Every file a .dsc names must match its SHA-256 there.
verify_dsc() {
  local dsc="$1" dir="$2" sum name
  while read -r sum _ name; do
    [[ -n "$name" ]] || continue
    if ! echo "$sum  $dir/$name" | sha256sum -c --quiet -; then
      say "checksum mismatch: $name"
      exit 1
    fi
  done < <(awk '/^Checksums-Sha256:/{on=1; next} /^[^ ]/{on=0} on{print}' "$dsc")
}

if [[ "${1:-}" == "--sources" ]]; then
  # A release's source offer: the very files the SDK is built from, with
  # their sums.
  dest="${2:?windows-sdk.sh --sources needs a folder}"
  apt_dir="$(mktemp -d)"
  trap 'rm -rf "$apt_dir"' EXIT
  fetch_sources "$apt_dir" "$dest"
  (cd "$dest" && sha256sum -- *.dsc *.tar.* >SHA256SUMS)
  echo "$dest"
  exit 0
fi

if [[ "${1:-}" == "--prefix" ]]; then
  echo "$sdk"
  exit 0
fi
if [[ -f "$sdk/.complete" ]]; then
  say "reusing $sdk"
  echo "$sdk"
  exit 0
fi

mkdir -p "$cache"
exec 9>"$cache/.lock"
if ! flock -n 9; then
  say "another build holds $cache/.lock; waiting"
  flock 9
fi
if [[ -f "$sdk/.complete" ]]; then
  say "reusing $sdk (built meanwhile)"
  echo "$sdk"
  exit 0
fi

start=$SECONDS
step() { say "[$((SECONDS - start)) s] $*"; }

work="$cache/work-$key"
rm -rf "$work" "$sdk"
mkdir -p "$work/src" "$sdk"
fetch_sources "$work/apt" "$work/src"
for dsc in "$work/src"/*.dsc; do
  (cd "$work/src" && dpkg-source --no-check -x "$(basename "$dsc")" >/dev/null)
done
qt_src="$(find "$work/src" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)"
jpeg_src="$(find "$work/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)"

toolchain_text >"$sdk/toolchain.cmake"
printf '%s\n' "$recipe" >"$sdk/recipe.txt"

step "building libjpeg-turbo"
cmake -S "$jpeg_src" -B "$work/build-jpeg" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$sdk/toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$sdk/libjpeg" \
  "${jpeg_configure[@]}" >"$work/jpeg-configure.log"
cmake --build "$work/build-jpeg" -j "$jobs" >"$work/jpeg-build.log"
cmake --install "$work/build-jpeg" >/dev/null

step "configuring Qt (a few minutes)"
mkdir -p "$work/build-qt"
if ! (cd "$work/build-qt" && "$qt_src/configure" -prefix "$sdk/qt" "${qt_configure[@]}" \
  -qt-host-path /usr -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$sdk/toolchain.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" >"$work/qt-configure.log" 2>&1); then
  tail -n 40 "$work/qt-configure.log" >&2
  exit 1
fi
step "building Qt with $jobs jobs (the long part)"
total="$(ninja -C "$work/build-qt" -n 2>/dev/null | tail -n1 | sed -n 's|^\[[0-9]*/\([0-9]*\)\].*|\1|p')"
(
  # Progress about once a minute, from Ninja's own log.
  while sleep 60; do
    done_steps="$(grep -vc '^#' "$work/build-qt/.ninja_log" 2>/dev/null || echo 0)"
    step "Qt: $done_steps of ${total:-?} steps"
  done
) &
progress=$!
trap 'kill $progress 2>/dev/null || true' EXIT
if ! cmake --build "$work/build-qt" -j "$jobs" >"$work/qt-build.log" 2>&1; then
  grep -B2 -A20 -m1 'FAILED' "$work/qt-build.log" >&2 || tail -n 40 "$work/qt-build.log" >&2
  exit 1
fi
kill "$progress" 2>/dev/null || true
cmake --install "$work/build-qt" >/dev/null

rm -rf "$work"
touch "$sdk/.complete"
step "done: $sdk ($(du -sh "$sdk" | cut -f1))"
echo "$sdk"
