#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's Diagnóstico... under wine, inside the network lab, against the
# simulated devices of both subnets: the probe starts the program as it
# starts, opens the diagnosis from the menu once the start-up query has ended
# and reports the verdicts it shows; they must be brelvan.exe doctor's, check
# by check, subject by subject, level by level. The window's report and its
# picture are kept in OUT.
#
# Usage (root): wine-lab-diagnosis.sh BRELVAN.EXE TB_APP_PROBE.EXE TB-DEVSIM FLEET OUT
# The lab's prefix is $TB_LAB_PREFIX (default tbwin). Exit 77: not root.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
brelvan="$(realpath "$1")"
probe="$(realpath "$2")"
devsim="$(realpath "$3")"
fleet="$(realpath "$4")"
out="$(realpath -m "$5")"
export TB_LAB_PREFIX="${TB_LAB_PREFIX:-tbwin}"
lab="$root/scripts/lab.sh"

if [[ $(id -u) -ne 0 ]]; then
  echo "wine-lab-diagnosis: needs root (network namespaces); skipped" >&2
  exit 77
fi

mkdir -p "$out"
rm -f "$out"/doctor.json "$out"/probe.txt "$out"/diagnosis.*
# shellcheck source=../../scripts/lab-fleet.sh
source "$root/scripts/lab-fleet.sh"
trap lab_fleet_down EXIT
lab_fleet_up "$devsim" "$fleet" "$out"

# The wine server and the display run inside the namespace with the programs.
# shellcheck disable=SC2016 # the inner shell expands its own arguments
timeout 300 bash "$lab" exec "$TB_LAB_PREFIX-pc" xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -c 'timeout 60 wine "$1" doctor --json >"$3/doctor.json" 2>/dev/null
    timeout 120 wine "$2" --diagnose "$(winepath -w "$3")" >"$3/probe.txt" 2>/dev/null
    status=$?
    timeout 30 wineserver -k || true
    exit "$status"' _ "$brelvan" "$probe" "$out" || {
  echo "wine-lab-diagnosis: the probe failed (see $out)" >&2
  exit 1
}

# Each verdict's check, subject and level, in order, from either JSON.
verdicts() {
  tr -d '\r\n' | sed 's/": "/":"/g' | grep -oE '"(check|subject|verdict)":"[^"]*"' | paste -sd' '
}
doctor="$(verdicts <"$out/doctor.json")"
window="$(grep -a '^diagnosis ' "$out/probe.txt" | verdicts)"
echo "brelvan.exe doctor: $doctor"
echo "the window:         $window"
[[ -n "$doctor" && "$doctor" == "$window" ]] || {
  echo "wine-lab-diagnosis: the window's verdicts are not brelvan.exe doctor's" >&2
  exit 1
}
grep -q 'consulta eth0: [1-9]' "$out/diagnosis.txt" || {
  echo "wine-lab-diagnosis: the window's report heard no device on eth0" >&2
  exit 1
}
echo "wine-lab-diagnosis: passed"
