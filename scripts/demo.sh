#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the program, or brelvan, on a
# demo network in the lab. The modes, knobs and costs are in usage() below.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: bash scripts/demo.sh [--help]
       bash scripts/demo.sh cli [COMMAND...]

Installs the Debian 12 packages it needs when they are missing, builds into
build/, creates the network lab (network namespaces joined by veth pairs;
nothing reaches this machine's own networks) with twelve simulated devices
on 10.77.0.0/24 and 10.78.0.0/24 (tools/demo-fleet.ini, which holds their
passwords), and runs inside it:

  (no argument)    the program, on your display; leaving it removes the lab.
                   Without a display it runs under Xvfb for TB_DEMO_SECONDS
                   and a screenshot is saved to build/demo/screenshot.png.
  cli              a shell on the lab's PC with brelvan on its PATH; leaving
                   the shell removes the lab
  cli COMMAND...   one command there (e.g. cli brelvan discover), then the
                   lab is removed; its exit status is the demo's

The simulators' datagram logs are kept in build/demo/.

Knobs (environment variables):
  TB_DEMO_SECONDS=N   seconds under Xvfb before the screenshot (default 6)
  TB_LAB_PREFIX=xy    name prefix of the lab's namespaces (default tbdemo)
  TB_BUILD_TYPE=T     CMake build type of build/ (default RelWithDebInfo)

Costs: root (it installs packages and creates network namespaces); the build
packages (compilers, Qt 6, CMake, Ninja, GoogleTest, Xvfb, ImageMagick,
clang), a few hundred megabytes on a fresh Debian 12; the first build takes
a few minutes on two cores.
EOF
}
case "${1:-}" in
-h | --help)
  usage
  exit 0
  ;;
"" | cli) ;;
*)
  usage >&2
  exit 2
  ;;
esac
# shellcheck source=lab-script.sh
source "$(dirname "${BASH_SOURCE[0]}")/lab-script.sh"
lab_script demo tbdemo ": it installs packages and creates network namespaces"
build="$root/build"
out="$build/demo"

mode=window
if [[ "${1:-}" == cli ]]; then
  mode=cli
  shift
fi

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$build"
mkdir -p "$out"

# shellcheck source=lab-fleet.sh
source "$root/scripts/lab-fleet.sh"
trap lab_fleet_down EXIT
trap 'exit 130' INT TERM
lab_fleet_up "$build/tools/tb-devsim" "$root/tools/demo-fleet.ini" "$out"
echo "demo: 12 simulated devices on 10.77.0.0/24 and 10.78.0.0/24; passwords in tools/demo-fleet.ini"
echo "demo: simulator logs in $out/"

if [[ "$mode" == cli ]]; then
  pc=("$lab" exec "$TB_LAB_PREFIX-pc" env PATH="$build/cli:$PATH")
  if (($#)); then
    status=0
    bash "${pc[@]}" "$@" || status=$?
    exit "$status"
  fi
  echo "demo: a shell on the lab's PC, with brelvan on its PATH; try 'brelvan discover'."
  echo "demo: 'exit' ends the demo."
  bash "${pc[@]}" PS1='demo\$ ' bash --norc -i || true
  exit 0
fi

program="$build/app/tarnwick-brelvan"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  bash "$lab" exec "$TB_LAB_PREFIX-pc" env DISPLAY="${DISPLAY:-}" \
    WAYLAND_DISPLAY="${WAYLAND_DISPLAY:-}" XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}" \
    XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-}" "$program" || true
else
  shot="$out/screenshot.png"
  seconds="${TB_DEMO_SECONDS:-6}"
  echo "demo: no display; running under Xvfb for $seconds s"
  # shellcheck disable=SC2016
  bash "$lab" exec "$TB_LAB_PREFIX-pc" xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c '"$1" & pid=$!; sleep "$2"; import -window root "$3"; kill "$pid"; wait "$pid" || true' \
    demo "$program" "$seconds" "$shot"
  echo "demo: screenshot saved to $shot"
fi
