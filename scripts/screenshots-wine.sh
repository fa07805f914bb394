#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screenshots of the Windows program under wine at several display scales,
# to look at by eye: the main window with the demo fleet, the properties
# dialog of its first device, the outcome box of configuring it without a
# password, and the Redes adicionales... and Diagnóstico... dialogs. Windows
# users pick a scale as a DPI, which wine reads from LogPixels in the
# prefix's registry when its server starts. The program and the wine server
# run in the lab's PC namespace on Xvfb with openbox, driven by xdotool.
# Run as root (network namespaces).
#   screenshots-wine.sh [win32-dir] [build-dir] [dpi...]
# win32-dir is windows-build.sh's (default build-win32/), build-dir holds
# tb-devsim (default build/), the DPIs default to 120 144 192. The pictures
# land in win32-dir/screenshots/dpiN-NAME.png, NAME one of main, properties,
# outcome, targets and diagnosis.
set -euo pipefail
# shellcheck source=lab-script.sh
source "$(dirname "${BASH_SOURCE[0]}")/lab-script.sh"
lab_script screenshots-wine tbwsh " (network namespaces)"
win32="$(realpath "${1:-$root/build-win32}")"
build="$(realpath "${2:-$root/build}")"
shift 2 || shift $# || true
dpis=("$@")
((${#dpis[@]})) || dpis=(120 144 192)
program="$win32/app/app/tarnwick-brelvan.exe"
[[ -f "$program" ]] || {
  echo "screenshots-wine: no $program; run scripts/windows-build.sh first" >&2
  exit 1
}
out="$win32/screenshots"
TB_DEPS_EXTRA="xdotool openbox ${TB_DEPS_EXTRA:-}" bash "$root/scripts/deps.sh"
mkdir -p "$out"

# shellcheck source=lab-fleet.sh
source "$root/scripts/lab-fleet.sh"
trap lab_fleet_down EXIT
lab_fleet_up "$build/tools/tb-devsim" "$root/tools/demo-fleet.ini" "$out"

# Inside Xvfb: a fresh prefix with the DPI set before the program starts,
# then the keys of the Linux screenshots. Ctrl+End then Ctrl+Home select the
# first row whichever row is current. Each window is waited for by its title;
# the outcome box only after the configuration's information window has
# gone, as a box found before may be one that wine keeps hidden.
# shellcheck disable=SC2016
shots='
  program="$1" dpi="$2" out="$3"
  export WINEPREFIX="$out/wineprefix-$dpi" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  shot() { sleep "$1"; import -window root "$out/dpi$dpi-$2.png"; }
  wait_for() { timeout 20 xdotool search --sync --name "$1" | head -n1; }
  timeout 30 wineserver -k 2>/dev/null || true
  openbox >/dev/null 2>&1 &
  trap "timeout 30 wineserver -k 2>/dev/null || true; kill $! 2>/dev/null || true" EXIT
  rm -rf "$WINEPREFIX"
  timeout 300 wineboot -i >/dev/null 2>&1
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1
  wineserver -w
  wine "$program" & pid=$!
  window=$(timeout 60 xdotool search --sync --name "^Tarnwick Brelvan\$" | head -n1)
  sleep 3
  xdotool windowfocus --sync "$window"
  xdotool key --delay 100 ctrl+End ctrl+Home
  shot 0.5 main
  xdotool key ctrl+p
  dialog=$(wait_for "^Device Properties\$")
  shot 1 properties
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key Return
  sleep 3
  box=$(wait_for "^Brelvan\$")
  shot 0.5 outcome
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key Return
  sleep 0.5
  xdotool windowfocus --sync "$window"
  xdotool key --delay 100 alt+a r
  dialog=$(wait_for "^Redes adicionales\$")
  shot 1 targets
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$window"
  xdotool key --delay 100 alt+a d
  dialog=$(wait_for "^Diagn")
  shot 4 diagnosis
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+x
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" || true
'
for dpi in "${dpis[@]}"; do
  echo "screenshots-wine: $dpi DPI" >&2
  timeout 600 bash "$lab" exec "$TB_LAB_PREFIX-pc" xvfb-run -a -s "-screen 0 2200x1400x24" \
    bash -c "$shots" shots "$program" "$dpi" "$out"
done
echo "screenshots-wine: $out/"
