# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced, not run, by the scripts that work in the lab as root:
#   lab_script NAME PREFIX WHY   sets $root (the tree) and $lab (lab.sh),
#                                exports TB_LAB_PREFIX (default PREFIX) and,
#                                unless run as root, stops with
#                                "NAME: needs rootWHY"
lab_script() {
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  # shellcheck disable=SC2034  # for the script that sources this one
  lab="$root/scripts/lab.sh"
  export TB_LAB_PREFIX="${TB_LAB_PREFIX:-$2}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "$1: needs root$3" >&2
    exit 1
  fi
}
