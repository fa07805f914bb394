#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# brelvan's generated bash completion as bash runs it, and its generated
# manual page as groff reads it. bash-completion's helpers are stood in for,
# so that none need be installed.
set -euo pipefail
manual="$1"
completion="$2"

complete_words() {
  # shellcheck disable=SC2016
  bash -c '_init_completion() {
      words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD
      cur="${words[cword]}"; prev="${words[cword - 1]}"
    }
    _filedir() { COMPREPLY=(FILE); }
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _brelvan; echo "${COMPREPLY[*]}"' complete "$completion" "$@"
}
failed=0
expect() {
  local want="$1" got
  shift
  got="$(complete_words "$@")"
  if [[ "$got" != "$want" ]]; then
    echo "completion of '$*': '$got', not '$want'" >&2
    failed=1
  fi
}
expect "discover doctor" brelvan d
expect "--dhcp --dry-run" brelvan configure --d
expect "--json" brelvan doctor --j
expect "FILE" brelvan configure --password-file ""
expect "" brelvan configure --ip ""
expect "--help" brelvan open --h
expect "configure" brelvan help con
expect "help" brelvan he

# -ww: every warning; -z: no output but the warnings. groff comes with man-db.
if command -v groff >/dev/null; then
  warnings="$(zcat "$manual" | groff -man -Tutf8 -ww -z 2>&1)"
  if [[ -n "$warnings" ]]; then
    echo "groff: $warnings" >&2
    failed=1
  fi
else
  echo "groff is not installed: the manual page is not checked"
fi
exit "$failed"
