#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# NOTICES.txt lists what a link map says was linked, and only that: a Qt
# without its bundled HarfBuzz names no HarfBuzz, a map with no archive
# member at all is refused rather than yielding a list of nothing.
# Usage: notices-test.sh SCRIPT WORK
set -euo pipefail
script="$1"
work="$2"
mkdir -p "$work"
echo "Opening words." >"$work/head.txt"
fail() { echo "notices-test: $*" >&2; exit 1; }

map() {
  echo "Archive member included to satisfy reference by file (symbol)"
  echo
  for member in "$@"; do
    echo "/sdk/lib/$member"
    echo "                              main.cpp.obj (_ZN7QString4argEv)"
  done
  echo
  echo "Discarded input sections"
  echo
  echo "/sdk/lib/libQt6BundledPcre2.a(pcre2_compile.c.obj)"
}

map "libQt6Core.a(qstring.cpp.obj)" "libQt6Core.a(bignum.cc.obj)" \
  "libQt6BundledHarfbuzz.a(hb-buffer.cc.obj)" "libjpeg.a(jdapimin.c.obj)" \
  "libstdc++.a(string-inst.o)" >"$work/full.map"
bash "$script" "$work/head.txt" "$work/full.txt" "$work/full.map"
for part in "Opening words." "Qt (Core" "GNU LESSER GENERAL PUBLIC LICENSE" \
  "double-conversion, within Qt" "HarfBuzz, within Qt" "libjpeg-turbo" \
  "Independent JPEG Group" "GCC runtime libraries"; do
  grep -qF "$part" "$work/full.txt" || fail "no '$part' in the notices of a full map"
done
# Listed after the members that were linked, hence not linked.
! grep -q "PCRE2" "$work/full.txt" || fail "PCRE2 listed from the discarded sections"

map "libQt6Core.a(qstring.cpp.obj)" >"$work/bare.map"
bash "$script" "$work/head.txt" "$work/bare.txt" "$work/bare.map"
grep -qF "Qt (Core" "$work/bare.txt" || fail "no Qt in the notices of a bare map"
for part in HarfBuzz double-conversion libjpeg-turbo; do
  ! grep -q "$part" "$work/bare.txt" || fail "$part listed, though not linked"
done

printf 'Memory Configuration\n' >"$work/empty.map"
if bash "$script" "$work/head.txt" "$work/empty.txt" "$work/empty.map" 2>/dev/null; then
  fail "a map without archive members gave notices"
fi
echo "notices-test: the notices follow the link maps"
