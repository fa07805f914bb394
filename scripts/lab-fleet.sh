# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced, not run: the lab with a device simulator in each device namespace.
#   lab_fleet_up DEVSIM FLEET LOGDIR   lab up, one simulator per device host
#                                      (logs LOGDIR/devsim-dev1.log, -dev2.log),
#                                      returns once both are ready
#   lab_fleet_down                     stops the simulators, removes the lab
# Needs $TB_LAB_PREFIX and $lab (the path of lab.sh).
# shellcheck shell=bash
: "${lab:?the path of lab.sh}"
lab_fleet_sims=()

lab_fleet_down() {
  local pid
  for pid in "${lab_fleet_sims[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait "${lab_fleet_sims[@]}" 2>/dev/null || true
  lab_fleet_sims=()
  bash "$lab" down
}

lab_fleet_up() {
  local devsim="$1" fleet="$2" logs="$3" host
  bash "$lab" up
  for host in dev1 dev2; do
    rm -f "$logs/devsim-$host.log"
    bash "$lab" exec "$TB_LAB_PREFIX-$host" "$devsim" --fleet "$fleet" --host "$host" \
      --log "$logs/devsim-$host.log" &
    lab_fleet_sims+=("$!")
  done
  for host in dev1 dev2; do
    for _ in $(seq 100); do
      grep -q '^READY' "$logs/devsim-$host.log" 2>/dev/null && break
      sleep 0.1
    done
    grep -q '^READY' "$logs/devsim-$host.log" || {
      echo "lab: the simulator on $host did not start" >&2
      return 1
    }
  done
}
