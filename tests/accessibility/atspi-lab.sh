#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a screen reader meets it: inside the lab's PC namespace (the
# lab is up), the demo fleet simulated on both device namespaces, the program
# on Xvfb with a D-Bus session bus of its own and accessibility on, driven
# through AT-SPI alone by drive.py.
# Usage: atspi-lab.sh PROGRAM DEVSIM FLEET
# Exit status 77 (a skip) without root or without the AT-SPI packages.
set -euo pipefail
program="$1" devsim="$2" fleet="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

if [[ $(id -u) -ne 0 ]]; then
  echo "atspi: needs root (network namespaces); skipping" >&2
  exit 77
fi
missing=()
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
[[ -x /usr/libexec/at-spi-bus-launcher ]] || missing+=(at-spi2-core)
command -v dbus-run-session >/dev/null || missing+=(dbus-daemon)
command -v Xvfb >/dev/null || missing+=(xvfb)
if ((${#missing[@]})); then
  echo "atspi: missing ${missing[*]} (TB_DEPS_EXTRA=\"${missing[*]}\" bash scripts/deps.sh); skipping" >&2
  exit 77
fi

logs="${TEST_TMPDIR:-/tmp/}tb-atspi"
mkdir -p "$logs"
P="${TB_LAB_PREFIX:-tb}"
sims=()
xvfb=""
stop() {
  local pid
  [[ -z "$xvfb" ]] || kill "$xvfb" 2>/dev/null || true
  for pid in "${sims[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait "${sims[@]}" 2>/dev/null || true
}
trap stop EXIT
for host in dev1 dev2; do
  rm -f "$logs/devsim-$host.log"
  ip netns exec "$P-$host" "$devsim" --fleet "$fleet" --host "$host" \
    --log "$logs/devsim-$host.log" &
  sims+=("$!")
done
for host in dev1 dev2; do
  for _ in $(seq 100); do
    grep -q '^READY' "$logs/devsim-$host.log" 2>/dev/null && break
    sleep 0.1
  done
  grep -q '^READY' "$logs/devsim-$host.log" || {
    echo "atspi: the simulator on $host did not start" >&2
    exit 1
  }
done

# The settings the program keeps stay in the run's own folder.
export XDG_CONFIG_HOME="$logs/config"
rm -rf "$XDG_CONFIG_HOME"
# A display that no other test holds: Xvfb picks a free number itself
# and writes it out, where xvfb-run -a may race another run for :99.
rm -f "$logs/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$logs/display" 2>"$logs/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [[ -s "$logs/display" ]] && break
  sleep 0.1
done
[[ -s "$logs/display" ]] || {
  echo "atspi: Xvfb did not start" >&2
  exit 1
}
DISPLAY=":$(head -n 1 "$logs/display")"
export DISPLAY
# Debian's own Python, which the AT-SPI bindings are packaged for. The
# session bus starts the accessibility bus (org.a11y.Bus) when the
# program or the driver first asks for it.
dbus-run-session -- \
  /usr/bin/python3 "$here/drive.py" "$program" "$logs/devsim-dev1.log" "$logs/devsim-dev2.log"
