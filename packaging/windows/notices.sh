#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the Windows programs' NOTICES.txt from what their linker really
# took: every third-party library a link map names (an archive member pulled
# in to satisfy a reference) with its copyright and licence text, read from
# the Debian copyright file of the very source package it was built from.
# Usage: notices.sh HEAD.txt OUT.txt MAP...
#   HEAD.txt  the file's opening words (what the program is, its firewall rules)
#   MAP       ld -Map files of the programs
set -euo pipefail
head_text="$1"
out="$2"
shift 2

qt_copyright=/usr/share/doc/libqt6core6/copyright
jpeg_copyright=/usr/share/doc/libjpeg62-turbo/copyright
mingw_copyright=/usr/share/doc/mingw-w64-common/copyright

# One line per component, in the order they are listed:
#   pattern@name@copyright file@Files entry there
# The pattern is an extended regular expression over "archive(member)" of
# the map; a component whose pattern matches nothing is left out.
components='libQt6[A-Za-z]+\.a\(|libq[a-z]+\.a\(@Qt (Core, Gui, Widgets and the Windows platform plugin)@-@-
libQt6Core\.a\((bignum|bignum-dtoa|cached-powers|double-to-string|fast-dtoa|fixed-dtoa|string-to-double|strtod)\.cc@double-conversion, within Qt@'"$qt_copyright"'@src/3rdparty/double-conversion/*
libQt6Core\.a\(qeasingcurve\.cpp@Robert Penner'"'"'s easing equations, within Qt@'"$qt_copyright"'@src/3rdparty/easing/*
libQt6Core\.a\(qcborstream(reader|writer)\.cpp@TinyCBOR, within Qt@'"$qt_copyright"'@src/3rdparty/tinycbor/*
libQt6Core\.a\(qcryptographichash\.cpp@MD4 and MD5, within Qt@'"$qt_copyright"'@src/3rdparty/md4/*
libQt6Core\.a\(qcryptographichash\.cpp@SHA-3 (Keccak), within Qt@'"$qt_copyright"'@src/3rdparty/sha3/*
libQt6Core\.a\(qcryptographichash\.cpp@SHA-3 byte order header, within Qt@'"$qt_copyright"'@src/3rdparty/sha3/brg_endian.h
libQt6Core\.a\(qcryptographichash\.cpp@SHA-2 (RFC 6234), within Qt@'"$qt_copyright"'@src/3rdparty/rfc6234/*
libQt6Gui\.a\(md4c\.c@MD4C, within Qt@'"$qt_copyright"'@src/3rdparty/md4c/*
libQt6BundledHarfbuzz\.a\(@HarfBuzz, within Qt@'"$qt_copyright"'@src/3rdparty/harfbuzz-ng/*
libQt6BundledLibpng\.a\(@libpng, within Qt@'"$qt_copyright"'@src/3rdparty/libpng/*.c
libQt6BundledPcre2\.a\(@PCRE2, within Qt@'"$qt_copyright"'@src/3rdparty/pcre2/src/*
libQt6BundledZLIB\.a\(@zlib, within Qt@'"$qt_copyright"'@src/3rdparty/zlib/src/*
libjpeg\.a\(@libjpeg-turbo@'"$jpeg_copyright"'@jccolor.c
lib(win)?pthread\.a\(@winpthreads (mingw-w64)@'"$mingw_copyright"'@mingw-w64-libraries/winpthreads/*
lib(win)?pthread\.a\(@winpthreads'"'"' pthread.h (mingw-w64)@'"$mingw_copyright"'@mingw-w64-libraries/winpthreads/include/pthread.h
lib(mingw32|mingwex|msvcrt|moldname)\.a\(@mingw-w64 runtime@'"$mingw_copyright"'@*
lib(stdc\+\+|gcc|gcc_eh|supc\+\+)\.a\(@GCC runtime libraries (libstdc++, libgcc)@-@-'

# "archive(member)" of every member the maps say was pulled in.
linked="$(for map in "$@"; do
  awk '/^Archive member included/ {on = 1; next}
       on && /^(Discarded input sections|Allocating common symbols|Memory Configuration)/ {exit}
       on && /^[^ \t]/ {print $1}' "$map"
done | sed 's|^.*/||' | sort -u)"
if [[ -z "$linked" ]]; then
  echo "notices: no archive members in $*" >&2
  exit 1
fi

# A DEP-5 file's paragraph that names FILES: its Copyright and License
# fields, then the text of each licence it names (from that paragraph, or
# from the file's stand-alone licence paragraph of that name).
dep5() {
  awk -v want="$2" '
    BEGIN { RS = ""; FS = "\n" }
    {
      files = ""; infiles = 0
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^Files:/) { files = substr($i, 7); infiles = 1; continue }
        if (infiles && $i ~ /^[ \t]/) { files = files " " $i; continue }
        infiles = 0
      }
      if (files != "") {
        n = split(files, names, /[ \t]+/)
        for (j = 1; j <= n; j++) if (names[j] == want) { para = $0; found = 1 }
      } else if ($1 ~ /^License:/) {
        name = tolower(substr($1, 9)); gsub(/^[ \t]+|[ \t]+$/, "", name)
        text[name] = $0
      }
    }
    function body(p,   lines, k, m, s) {
      m = split(p, lines, "\n"); s = ""
      for (k = 2; k <= m; k++) {
        if (lines[k] !~ /^[ \t]/) break
        l = lines[k]; sub(/^[ \t]/, "", l); if (l == ".") l = ""
        s = s l "\n"
      }
      return s
    }
    END {
      if (!found) { print "notices: no paragraph for " want > "/dev/stderr"; exit 1 }
      m = split(para, lines, "\n"); lic = ""; inlic = 0; own = ""
      for (k = 1; k <= m; k++) {
        if (lines[k] ~ /^Copyright:/) { inc = 1; print lines[k]; continue }
        if (inc && lines[k] ~ /^[ \t]/) { print lines[k]; continue }
        inc = 0
        if (lines[k] ~ /^License:/) {
          lic = substr(lines[k], 9); gsub(/^[ \t]+/, "", lic); print "License: " lic
          for (q = k + 1; q <= m && lines[q] ~ /^[ \t]/; q++) {
            l = lines[q]; sub(/^[ \t]/, "", l); if (l == ".") l = ""; own = own l "\n"
          }
        }
      }
      print ""
      if (own != "") { printf "%s", own; exit 0 }
      n = split(lic, names, / and | or |, /)
      for (j = 1; j <= n; j++) {
        key = tolower(names[j]); gsub(/[ \t()]/, "", key)
        if (key in text) { printf "%s", body(text[key]); print "" }
        else if (key !~ /^(lgpl-3|gpl-2|gpl-3)/) {
          print "notices: no text for licence " names[j] > "/dev/stderr"; exit 1
        }
      }
    }' "$1"
}

rule() { printf '%s\n' "------------------------------------------------------------------------------"; }

{
  cat "$head_text"
  echo
  echo "The programs have these libraries built in; each is listed with its"
  echo "copyright and licence. The GNU General Public License version 3, which"
  echo "the GNU Lesser General Public License extends, is LICENSE.txt."
  echo
  while IFS='@' read -r pattern name file entry; do
    grep -qE "^($pattern)" <<<"$linked" || continue
    rule
    echo "$name"
    rule
    if [[ "$file" == - && "$name" == Qt* ]]; then
      echo "Copyright: The Qt Company Ltd and other contributors"
      echo "License: LGPL-3.0-only"
      echo
      cat /usr/share/common-licenses/LGPL-3
    elif [[ "$file" == - ]]; then
      echo "Copyright: Free Software Foundation, Inc."
      echo "License: GPL-3.0-or-later WITH GCC-exception-3.1"
      echo
      echo "The GCC Runtime Library Exception lets programs that GCC compiled"
      echo "include these libraries under terms of their own choice; it places"
      echo "no condition on this program."
    else
      dep5 "$file" "$entry"
    fi
    echo
  done <<<"$components"
} >"$out.tmp"
mv "$out.tmp" "$out"
