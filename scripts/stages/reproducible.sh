#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shows that what is published comes from the published source: the Debian
# packages, the Windows programs, their installer and zip are built a second
# time, from a copy of the checkout in another folder, with another umask and
# time zone and without ccache, and must equal byte for byte those of the
# first build (the trees the package and windows stages use: build/ and
# build-win32/app, built here when those stages did not run; build-release/
# when those went through ccache). diffoscope explains any difference in
# build-repro/diffoscope.txt, which is kept.
# Then copies of the Windows files are signed with a certificate made on the
# spot, and osslsigncode must accept the signatures against that certificate
# and refuse them against another.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="$root/build-repro"

TB_DEPS_EXTRA="diffoscope-minimal osslsigncode openssl dpkg-dev" bash "$root/scripts/deps.sh"

second="$(mktemp -d /tmp/tb-repro.XXXXXX)"
trap 'rm -rf "$second"' EXIT
rm -rf "$out"
mkdir -p "$out/first" "$out/second"
# Both builds date their files by the last commit; the copy has no git.
SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct)"
export SOURCE_DATE_EPOCH

# collect TREE DEST: the Windows files a release publishes.
collect() {
  local d="$1/dist"
  cp "$d/tarnwick-brelvan.exe" "$d/brelvan.exe" "$d"/tarnwick-brelvan-*-win32-setup.exe \
    "$d"/tarnwick-brelvan-*-win32.zip "$d/NOTICES.txt" "$2/"
}

start=$SECONDS
# A tree built through ccache with a base_dir has relative source paths in
# its debug information: the first copy is then made as a release is, in
# build-release/, without ccache.
uses_ccache() { grep -qs '^CMAKE_CXX_COMPILER_LAUNCHER:.*ccache' "$1/CMakeCache.txt"; }
if uses_ccache "$root/build" || uses_ccache "$root/build-win32/app"; then
  CCACHE_DISABLE=1 bash "$root/scripts/publish-build.sh" "$root" "$out/first"
else
  bash "$root/scripts/build.sh" "$root/build"
  (cd "$root/build" && cpack -G DEB -B "$out/first/deb" >/dev/null)
  mv "$out/first/deb"/*.deb "$out/first/"
  rm -rf "$out/first/deb"
  bash "$root/scripts/windows-build.sh" "$root/build-win32" >/dev/null
  collect "$root/build-win32/app" "$out/first"
fi
echo "reproducible: first build ready in $((SECONDS - start)) s"

# The second: the checkout's files (committed or not, never ignored ones)
# elsewhere, only the published targets (as scripts/release.sh builds
# them), nothing from ccache.
start=$SECONDS
src="$second/tarnwick-brelvan"
mkdir -p "$src"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$src"
(
  umask 0077
  export TZ=KIT-14 CCACHE_DISABLE=1 LC_ALL=C.UTF-8
  bash "$src/scripts/publish-build.sh" "$src" "$out/second"
)
echo "reproducible: second build in $((SECONDS - start)) s"

(cd "$out/first" && sha256sum -- *) >"$out/first.sha256"
sed 's/^/reproducible: /' "$out/first.sha256"
if ! diffoscope --text "$out/diffoscope.txt" --exclude-directory-metadata=yes \
  "$out/first" "$out/second" >/dev/null; then
  echo "reproducible: the two builds differ; see $out/diffoscope.txt" >&2
  head -n 60 "$out/diffoscope.txt" >&2
  exit 1
fi
published=("$out/first"/*)
echo "reproducible: both builds made the same ${#published[@]} files"

# Signing: a throwaway certificate, and another that must not vouch for it.
sign="$second/sign"
mkdir -p "$sign/files"
for name in good other; do
  openssl req -x509 -newkey rsa:2048 -nodes -days 1 -keyout "$sign/$name.key" \
    -out "$sign/$name.pem" -subj "/CN=Tarnwick Brelvan $name test certificate" \
    -addext extendedKeyUsage=codeSigning 2>/dev/null
done
cp "$out/first"/*.exe "$sign/files/"
TB_SIGN_CERT="$sign/good.pem" TB_SIGN_KEY="$sign/good.key" \
  bash "$root/scripts/sign-windows.sh" "$sign/files"/*.exe
for f in "$sign/files"/*.exe; do
  if ! osslsigncode verify -CAfile "$sign/good.pem" -in "$f" >"$sign/verify.log" 2>&1; then
    cat "$sign/verify.log" >&2
    echo "reproducible: $(basename "$f") carries no signature its certificate vouches for" >&2
    exit 1
  fi
  if osslsigncode verify -CAfile "$sign/other.pem" -in "$f" >/dev/null 2>&1; then
    echo "reproducible: another certificate vouches for $(basename "$f"): the check is blind" >&2
    exit 1
  fi
done
signed=("$sign/files"/*.exe)
echo "reproducible: signed copies of ${#signed[@]} Windows files verify"
