#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Network lab: network namespaces joined by veth pairs, so that programs can
# send and broadcast on UDP port 998 without touching the host's own network.
#
# Usage (as root):
#   lab.sh up                 create the lab (removes an old one of the same prefix first)
#   lab.sh down               remove it; harmless when it does not exist
#   lab.sh exec NS CMD...     run CMD inside namespace NS (full name, e.g. tb-pc)
#   lab.sh status             list the lab's namespaces and addresses
#
# Namespace names start with $TB_LAB_PREFIX (default "tb"), so that several
# developers' labs can exist side by side. With P = the prefix:
#
#   ${P}-dev1                      ${P}-pc                       ${P}-dev2
#   eth0 10.77.0.2/24  <-veth->  eth0 10.77.0.1/24
#        10.77.0.3/24            eth1 10.78.0.1/24  <-veth->  eth0 10.78.0.2/24
#        10.77.0.4/24                                              10.78.0.3/24
#        192.168.77.50/24
#   default via 10.77.0.1                                      default via 10.78.0.1
#
# The PC has two interfaces on two subnets and no route between them; each
# device namespace has a default route through the PC's address on its own
# subnet, so a device may answer a query by unicast as well as by broadcast.
# 192.168.77.50 on dev1 is for a device configured for another subnet: its
# answers come from an address that the PC has no route back to.
# Loopback is up everywhere. Nothing is created in the host's own namespace.
# Exit status 77 means "not root" (test runners treat it as a skip).
set -euo pipefail

P="${TB_LAB_PREFIX:-tb}"
PC="${P}-pc"
DEV1="${P}-dev1"
DEV2="${P}-dev2"
ALL=("$PC" "$DEV1" "$DEV2")

need_root() {
  if [[ $(id -u) -ne 0 ]]; then
    echo "lab: needs root (network namespaces); skipping" >&2
    exit 77
  fi
}

lab_down() {
  local ns
  for ns in "${ALL[@]}"; do
    if ip netns list | awk '{print $1}' | grep -qx "$ns"; then
      # Ends whatever still runs inside before the namespace goes.
      ip netns pids "$ns" 2>/dev/null | xargs -r kill 2>/dev/null || true
      ip netns del "$ns" 2>/dev/null || true
    fi
  done
}

lab_up() {
  lab_down
  trap 'echo "lab: set-up failed, removing it" >&2; lab_down' ERR
  local ns
  for ns in "${ALL[@]}"; do
    ip netns add "$ns"
    ip -n "$ns" link set lo up
  done
  ip -n "$PC" link add eth0 type veth peer name eth0 netns "$DEV1"
  ip -n "$PC" link add eth1 type veth peer name eth0 netns "$DEV2"

  ip -n "$PC" addr add 10.77.0.1/24 broadcast + dev eth0
  ip -n "$PC" addr add 10.78.0.1/24 broadcast + dev eth1
  ip -n "$DEV1" addr add 10.77.0.2/24 broadcast + dev eth0
  ip -n "$DEV1" addr add 10.77.0.3/24 broadcast + dev eth0
  ip -n "$DEV1" addr add 10.77.0.4/24 broadcast + dev eth0
  ip -n "$DEV1" addr add 192.168.77.50/24 broadcast + dev eth0
  ip -n "$DEV2" addr add 10.78.0.2/24 broadcast + dev eth0
  ip -n "$DEV2" addr add 10.78.0.3/24 broadcast + dev eth0
  for ns in "${ALL[@]}"; do
    ip -n "$ns" link set eth0 up
  done
  ip -n "$PC" link set eth1 up
  ip -n "$DEV1" route add default via 10.77.0.1
  ip -n "$DEV2" route add default via 10.78.0.1
  trap - ERR
}

lab_status() {
  local ns
  for ns in "${ALL[@]}"; do
    if ip netns list | awk '{print $1}' | grep -qx "$ns"; then
      echo "== $ns"
      ip -n "$ns" -4 -br addr
    else
      echo "== $ns (absent)"
    fi
  done
}

cmd="${1:-}"
shift || true
case "$cmd" in
  up) need_root; lab_up ;;
  down) need_root; lab_down ;;
  status) need_root; lab_status ;;
  exec)
    need_root
    if [[ $# -lt 2 ]]; then
      echo "usage: lab.sh exec NS CMD..." >&2
      exit 2
    fi
    ns="$1"
    shift
    exec ip netns exec "$ns" "$@"
    ;;
  *)
    echo "usage: lab.sh up|down|status|exec NS CMD..." >&2
    exit 2
    ;;
esac
