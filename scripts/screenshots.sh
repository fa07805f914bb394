#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screenshots of the program at several display scales, to look at by eye:
# the main window with the demo fleet, the properties dialog of its first
# device, the outcome box of configuring it without a password, and the two
# dialogs of the Acción menu: Redes adicionales... and Diagnóstico... The
# program runs in the lab's PC namespace on Xvfb with QT_SCALE_FACTOR set,
# driven from the keyboard by xdotool, with openbox placing and framing
# the windows as a desktop does. Run as root (network namespaces).
#   screenshots.sh [build-dir] [scale...]   default build/, scales 1 1.25 1.5 2
# The pictures land in build-dir/screenshots/scaleS-NAME.png, NAME one of
# main, properties, outcome, targets and diagnosis.
set -euo pipefail
# shellcheck source=lab-script.sh
source "$(dirname "${BASH_SOURCE[0]}")/lab-script.sh"
lab_script screenshots tbshot " (network namespaces)"
build="${1:-$root/build}"
shift || true
scales=("$@")
((${#scales[@]})) || scales=(1 1.25 1.5 2)
out="$build/screenshots"
TB_DEPS_EXTRA="xdotool openbox ${TB_DEPS_EXTRA:-}" bash "$root/scripts/deps.sh"
mkdir -p "$out"

# shellcheck source=lab-fleet.sh
source "$root/scripts/lab-fleet.sh"
trap lab_fleet_down EXIT
lab_fleet_up "$build/tools/tb-devsim" "$root/tools/demo-fleet.ini" "$out"

# Inside Xvfb: the window, then Tab to the list and back, Down and Up to
# select its first row, Ctrl+P for the dialog, Return for OK and the box;
# then Alt+A with each dialog's mnemonic, Escape closing it. The diagnosis
# runs its checks as it opens: it is given time to finish them.
# shellcheck disable=SC2016
shots='
  program="$1" scale="$2" out="$3"
  shot() { sleep "$1"; import -window root "$out/scale$scale-$2.png"; }
  openbox >/dev/null 2>&1 & wm=$!
  QT_SCALE_FACTOR="$scale" "$program" & pid=$!
  sleep 3
  window=$(xdotool search --sync --name "^Tarnwick Brelvan\$" | head -n1)
  xdotool windowfocus --sync "$window"
  xdotool key Tab; sleep 0.2; xdotool key shift+Tab Down Up
  shot 0.3 main
  xdotool key ctrl+p
  shot 1 properties
  xdotool key Return
  shot 2 outcome
  xdotool key Return
  sleep 0.5
  xdotool windowfocus --sync "$window"
  xdotool key alt+a r
  shot 1 targets
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$window"
  xdotool key alt+a d
  shot 4 diagnosis
  xdotool key Escape
  kill "$pid"; wait "$pid" || true
  kill "$wm"
'
for scale in "${scales[@]}"; do
  echo "screenshots: scale $scale" >&2
  bash "$lab" exec "$TB_LAB_PREFIX-pc" xvfb-run -a -s "-screen 0 2200x1400x24" \
    bash -c "$shots" shots "$build/app/tarnwick-brelvan" "$scale" "$out"
done
echo "screenshots: $out/"
