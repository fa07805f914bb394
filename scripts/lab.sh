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
#   lab.sh routed up|down     add to the lab, or remove, the networks behind a router (below)
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
#
# "routed up" adds, to a lab that is up, networks that no broadcast of the
# PC reaches (a third PC interface, so only tests that ask for them see them):
#
#   ${P}-pc eth2 10.87.0.1/24 <-> ${P}-rtr eth0 10.87.0.2/24     (forwards)
#                                 ${P}-rtr eth1 10.88.0.1/24 <-> ${P}-far eth0 10.88.0.2/24
#                                                                     10.88.0.10-29/24
#                                                                     10.90.0.2/32 (+ bench's)
#                                 ${P}-rtr eth2 10.86.0.1/24 <-> ${P}-nat eth1 10.86.0.2/24
#   ${P}-inner eth0 172.30.0.2/24 <-> ${P}-nat eth0 172.30.0.1/24 (masquerades out of eth1)
#
# The PC routes 10.88.0.0/24 and 10.90.0.0/22 through the router, which
# passes 10.90.0.0/22 on to far's 10.88.0.2; far answers back through it. ${P}-inner stands for a PC inside WSL2, a VM or a
# container: its only way out is the masquerading ${P}-nat.
# Exit status 77 means "not root" (test runners treat it as a skip).
set -euo pipefail

P="${TB_LAB_PREFIX:-tb}"
PC="${P}-pc"
DEV1="${P}-dev1"
DEV2="${P}-dev2"
RTR="${P}-rtr"
FAR="${P}-far"
NAT="${P}-nat"
INNER="${P}-inner"
ROUTED=("$RTR" "$FAR" "$NAT" "$INNER")
BASE=("$PC" "$DEV1" "$DEV2")
ALL=("${BASE[@]}" "${ROUTED[@]}")

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
  for ns in "${BASE[@]}"; do
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
  for ns in "${BASE[@]}"; do
    ip -n "$ns" link set eth0 up
  done
  ip -n "$PC" link set eth1 up
  ip -n "$DEV1" route add default via 10.77.0.1
  ip -n "$DEV2" route add default via 10.78.0.1
  trap - ERR
}

routed_down() {
  local ns
  ip -n "$PC" link del eth2 2>/dev/null || true
  for ns in "${ROUTED[@]}"; do
    if ip netns list | awk '{print $1}' | grep -qx "$ns"; then
      ip netns pids "$ns" 2>/dev/null | xargs -r kill 2>/dev/null || true
      ip netns del "$ns" 2>/dev/null || true
    fi
  done
}

routed_up() {
  routed_down
  trap 'echo "lab: routed set-up failed, removing it" >&2; routed_down' ERR
  local ns i
  for ns in "${ROUTED[@]}"; do
    ip netns add "$ns"
    ip -n "$ns" link set lo up
  done
  ip -n "$PC" link add eth2 type veth peer name eth0 netns "$RTR"
  ip -n "$RTR" link add eth1 type veth peer name eth0 netns "$FAR"
  ip -n "$RTR" link add eth2 type veth peer name eth1 netns "$NAT"
  ip -n "$NAT" link add eth0 type veth peer name eth0 netns "$INNER"
  ip -n "$PC" addr add 10.87.0.1/24 broadcast + dev eth2
  ip -n "$RTR" addr add 10.87.0.2/24 broadcast + dev eth0
  ip -n "$RTR" addr add 10.88.0.1/24 broadcast + dev eth1
  ip -n "$RTR" addr add 10.86.0.1/24 broadcast + dev eth2
  ip -n "$FAR" addr add 10.88.0.2/24 broadcast + dev eth0
  for i in $(seq 10 29); do
    ip -n "$FAR" addr add "10.88.0.$i/24" broadcast + dev eth0
  done
  ip -n "$FAR" addr add 10.90.0.2/32 dev eth0
  ip -n "$NAT" addr add 10.86.0.2/24 broadcast + dev eth1
  ip -n "$NAT" addr add 172.30.0.1/24 broadcast + dev eth0
  ip -n "$INNER" addr add 172.30.0.2/24 broadcast + dev eth0
  ip -n "$PC" link set eth2 up
  ip -n "$RTR" link set eth0 up
  ip -n "$RTR" link set eth1 up
  ip -n "$RTR" link set eth2 up
  ip -n "$FAR" link set eth0 up
  ip -n "$NAT" link set eth0 up
  ip -n "$NAT" link set eth1 up
  ip -n "$INNER" link set eth0 up
  ip netns exec "$RTR" sysctl -qw net.ipv4.ip_forward=1
  ip netns exec "$NAT" sysctl -qw net.ipv4.ip_forward=1
  ip -n "$PC" route add 10.88.0.0/24 via 10.87.0.2
  ip -n "$PC" route add 10.90.0.0/22 via 10.87.0.2
  ip -n "$FAR" route add default via 10.88.0.1
  # Through far's one address, so that a sweep of the /22 costs the router one
  # neighbour entry, not a thousand: the kernel's table is shared by every
  # namespace of the machine, and overflows at its limit.
  ip -n "$RTR" route add 10.90.0.0/22 via 10.88.0.2
  ip -n "$NAT" route add default via 10.86.0.1
  ip -n "$INNER" route add default via 172.30.0.1
  ip netns exec "$NAT" nft -f - <<'NFT'
table ip lab_nat {
  chain postrouting {
    type nat hook postrouting priority srcnat; policy accept;
    oifname "eth1" masquerade
  }
}
NFT
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
  routed)
    need_root
    case "${1:-}" in
      up) routed_up ;;
      down) routed_down ;;
      *) echo "usage: lab.sh routed up|down" >&2; exit 2 ;;
    esac
    ;;
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
    echo "usage: lab.sh up|down|status|routed up|down|exec NS CMD..." >&2
    exit 2
    ;;
esac
