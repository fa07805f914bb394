#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a release of the committed tree in dist/ (as root on Debian 12: it
# installs what is missing and builds the Windows SDK once):
#   brelvan_VERSION_ARCH.deb, tarnwick-brelvan_VERSION_ARCH.deb
#   tarnwick-brelvan-VERSION-win32-setup.exe, tarnwick-brelvan-VERSION-win32.zip
#   tarnwick-brelvan-VERSION.tar.gz   the source (git archive of HEAD)
#   NOTICES.txt                       each artifact's third-party parts and their licences
#   sources/                          the Debian source packages the Windows SDK is
#                                     built from, with their SHA256SUMS
#   SHA256SUMS                        every file above (sha256sum -c SHA256SUMS)
# The programs and packages are those scripts/publish-build.sh builds, the
# same bytes for the same commit (the reproducible test stage checks it).
# Signing: TB_SIGN_CERT and TB_SIGN_KEY (see scripts/sign-windows.sh) sign
# the Windows programs and the installer. Usage: release.sh [DIST] (default dist/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dist="${1:-$root/dist}"

TB_DEPS_EXTRA="g++-mingw-w64-i686-posix nsis zip dpkg-dev osslsigncode" bash "$root/scripts/deps.sh"
if [[ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]]; then
  echo "release: the tree has uncommitted changes; a release is made from a commit" >&2
  exit 1
fi
version="$(sed -n 's/^project(TarnwickBrelvan VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[[ -n "$version" ]] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct)"
export SOURCE_DATE_EPOCH

rm -rf "$dist"
staging="$(mktemp -d)"
trap 'rm -rf "$staging"' EXIT
mkdir -p "$dist"
bash "$root/scripts/publish-build.sh" "$root" "$staging"
cp "$staging"/*.deb "$staging"/*-win32-setup.exe "$staging"/*-win32.zip "$dist/"
git -C "$root" archive --format=tar.gz --prefix="tarnwick-brelvan-$version/" \
  -o "$dist/tarnwick-brelvan-$version.tar.gz" HEAD
bash "$root/scripts/windows-sdk.sh" --sources "$dist/sources" >/dev/null

# The Windows part as the build found it; the Debian packages name what they
# use, which comes as packages of its own with its own copyright file.
{
  cat "$staging/NOTICES.txt"
  echo "=============================================================================="
  echo "The Debian packages"
  echo "=============================================================================="
  echo
  echo "The Debian packages hold only this program's own files. What they use comes"
  echo "from Debian's own packages, each with its copyright and licences in"
  echo "/usr/share/doc/PACKAGE/copyright on the installed system:"
  for deb in "$dist"/*.deb; do
    echo
    echo "$(dpkg-deb -f "$deb" Package) depends on:"
    dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/^/  /'
  done
} >"$dist/NOTICES.txt"

(cd "$dist" && find . -type f -printf '%P\n' | LC_ALL=C sort |
  xargs -d '\n' sha256sum -- >"$staging/SHA256SUMS")
mv "$staging/SHA256SUMS" "$dist/SHA256SUMS"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS)
ls -l "$dist" "$dist/sources"
