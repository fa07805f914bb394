#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as a user meets it, under wine, inside the network lab:
# install it silently, start the installed program in the lab's PC namespace
# against the simulated devices of both subnets (answering by unicast,
# directed and limited broadcast), read the list back row by row through the
# program's own "open the web page" command, configure one device from the
# keyboard, find devices behind a router through the saved list of other
# networks and through brelvan.exe --target, and uninstall it again. The PC
# has 15 IPv4 interfaces, more than the first buffer of the Windows interface
# listing holds. Screenshots of the list and of the
# outcome are kept in OUT.
#
# Usage (root): wine-lab-test.sh SETUP.EXE TB-DEVSIM FLEET OUT
# The lab's prefix is $TB_LAB_PREFIX (default tbwin). Exit 77: not root.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
setup="$(realpath "$1")"
devsim="$(realpath "$2")"
fleet="$(realpath "$3")"
out="$(realpath -m "$4")"
export TB_LAB_PREFIX="${TB_LAB_PREFIX:-tbwin}"
lab="$root/scripts/lab.sh"

if [[ $(id -u) -ne 0 ]]; then
  echo "wine-lab-test: needs root (network namespaces); skipped" >&2
  exit 77
fi

mkdir -p "$out"
rm -f "$out"/*.log "$out"/*.png
# shellcheck source=../../scripts/lab-fleet.sh
source "$root/scripts/lab-fleet.sh"
trap lab_fleet_down EXIT
lab_fleet_up "$devsim" "$fleet" "$out"
# Thirteen more networks beside eth0 and eth1, as Hyper-V, WSL and VPN
# adapters add them: the listing must still hold eth0's and eth1's. Each is
# a veth pair inside the PC's namespace (the kernel may lack dummy links).
for i in $(seq 13); do
  ip -n "$TB_LAB_PREFIX-pc" link add "vnet$i" type veth peer name "vpeer$i"
  ip -n "$TB_LAB_PREFIX-pc" addr add "10.90.$i.1/24" broadcast + dev "vnet$i"
  ip -n "$TB_LAB_PREFIX-pc" link set "vpeer$i" up
  ip -n "$TB_LAB_PREFIX-pc" link set "vnet$i" up
done
# Behind the lab's router, devices that answer a request sent to their own
# address, for the saved list of other networks and --target.
bash "$lab" routed up
bash "$lab" exec "$TB_LAB_PREFIX-far" "$devsim" --fleet "$root/tests/cli/routed-fleet.ini" \
  --host far --log "$out/devsim-far.log" &
lab_fleet_sims+=("$!")

# The wine server shares the program's sockets, so it runs inside the
# namespace with the program; so does the display the program draws on.
timeout 600 bash "$lab" exec "$TB_LAB_PREFIX-pc" \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$here/wine-lab-session.sh" "$setup" "$fleet" "$out"
