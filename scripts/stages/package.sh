#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages as a user meets them: build both with CPack (brelvan:
# the command line and the simulator; tarnwick-brelvan: the window), check
# them with lintian (no errors), prove from brelvan's own Depends that it
# pulls in no Qt Gui, Qt Widgets or X11 library, install them with apt,
# validate the desktop entry and the AppStream metadata (offline), check that
# both programs got cap_net_bind_service and that brelvan's manual page and
# bash completion work, then, as a fresh unprivileged user inside the network
# lab (namespaces $TB_PKG_LAB_PREFIX-*, else $TB_LAB_PREFIX-*, default
# tbpkg), list simulated devices with the installed brelvan and prove that
# the installed program bound UDP port 998, ignored a plugin planted through
# Qt's variables and gave up its capability. The packages, the user and the
# lab are removed at the end.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build-pkg/pkg"
prefix="${TB_PKG_LAB_PREFIX:-${TB_LAB_PREFIX:-tbpkg}}"
user=tbpkg-user
program=/usr/bin/tarnwick-brelvan
brelvan=/usr/bin/brelvan

TB_DEPS_EXTRA="libcap2-bin desktop-file-utils dpkg-dev lintian appstream man-db bash-completion" \
  bash "$root/scripts/deps.sh"

# The packages come from the plain stage's tree (build/, RelWithDebInfo,
# stripped by CPack), which is built here when that stage did not run: its
# tests and benchmarks are installed by no component, so they are in neither
# package, and the programs are built once for the whole run.
mkdir -p "$dir"
bash "$root/scripts/build.sh" "$root/build"
rm -f "$dir"/*.deb
(cd "$root/build" && cpack -G DEB -B "$dir" >/dev/null)
cli_deb="$(ls "$dir"/brelvan_*.deb)"
gui_deb="$(ls "$dir"/tarnwick-brelvan_*.deb)"
for deb in "$cli_deb" "$gui_deb"; do
  echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
  # Warnings are shown; only errors fail the stage.
  lintian_ok=true
  report="$(lintian --fail-on error "$deb" 2>&1)" || lintian_ok=false
  grep -v "root privileges" <<<"$report" | sed 's/^/package: lintian: /' || true
  $lintian_ok || { echo "package: lintian found errors in $(basename "$deb")" >&2; exit 1; }
done

# Every package that installing a .deb can pull in: its Depends and
# Pre-Depends (each alternative), followed through the archive's own.
pulled_in() {
  local names
  names="$(dpkg-deb -f "$1" Depends Pre-Depends | sed 's/^[A-Za-z-]*://; s/[,|]/\n/g' |
    sed 's/(.*)//; s/\[.*\]//; s/:[a-z0-9]*//; s/ //g' | grep . | sort -u)"
  # shellcheck disable=SC2086
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $names | grep -v '^ ' | sed 's/:.*//; s/[<>]//g' | sort -u
}
# Qt's windowing half and the X11 client libraries (GL's drag in X11 too).
windowing='^(libqt6(gui|widgets)6|libx(11|cb|au|dmcp|ext|render|kbcommon-x11|i|fixes|randr|cursor|inerama|shmfence|xf86vm|composite|damage|t)[0-9-].*|lib(sm|ice)[0-9].*|libgl(x|1).*|libegl.*)$'
cli_pulls="$(pulled_in "$cli_deb")"
if grep -E "$windowing" <<<"$cli_pulls" >"$dir/windowing.txt"; then
  echo "package: installing brelvan pulls in $(paste -sd ' ' "$dir/windowing.txt")" >&2
  exit 1
fi
# The window's package does pull them in: the check sees them when they are there.
grep -qE "$windowing" <<<"$(pulled_in "$gui_deb")" ||
  { echo "package: the window's package pulls in no Qt Gui: the check is blind" >&2; exit 1; }
echo "package: brelvan pulls in $(wc -l <<<"$cli_pulls") packages, none of Qt Gui, Qt Widgets or X11"

lab() { TB_LAB_PREFIX="$prefix" bash "$root/scripts/lab.sh" "$@"; }
app_pid=""
sim_pid=""
bait=""
cleanup() {
  if [[ -n "$app_pid" ]]; then
    kill -- "-$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  if [[ -n "$sim_pid" ]]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  lab down || true
  [[ -z "$bait" ]] || rm -rf "$bait"
  userdel "$user" 2>/dev/null || true
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tarnwick-brelvan brelvan >/dev/null 2>&1 || true
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
if ! apt-get install -y -qq --no-install-recommends "$cli_deb" "$gui_deb" >"$dir/install.log" 2>&1; then
  cat "$dir/install.log" >&2
  exit 1
fi
manual=/usr/share/man/man1/brelvan.1.gz
completion=/usr/share/bash-completion/completions/brelvan
metainfo=/usr/share/metainfo/com.tarnwick.brelvan.metainfo.xml
# Each file from the package it belongs in.
while read -r package f; do
  owner="$(dpkg-query -S "$f" 2>/dev/null | cut -d: -f1)" || true
  [[ "$owner" == "$package" ]] || { echo "package: $f not installed by $package" >&2; exit 1; }
done <<EOF
brelvan $brelvan
brelvan /usr/bin/tb-devsim
brelvan $manual
brelvan $completion
brelvan /usr/share/doc/brelvan/copyright
brelvan /usr/share/doc/brelvan/changelog.gz
tarnwick-brelvan $program
tarnwick-brelvan /usr/share/applications/tarnwick-brelvan.desktop
tarnwick-brelvan $metainfo
tarnwick-brelvan /usr/share/icons/hicolor/32x32/apps/tarnwick-brelvan.png
tarnwick-brelvan /usr/share/doc/tarnwick-brelvan/copyright
tarnwick-brelvan /usr/share/doc/tarnwick-brelvan/changelog.gz
EOF
desktop-file-validate /usr/share/applications/tarnwick-brelvan.desktop
# Offline: the validator would otherwise fetch the screenshot and home page.
appstreamcli validate --no-net --strict "$metainfo"
for p in "$program" "$brelvan"; do
  caps="$(getcap "$p")"
  echo "package: getcap: $caps"
  grep -q "cap_net_bind_service=ep" <<<"$caps" || { echo "package: $p lacks its capability" >&2; exit 1; }
done

# The manual page renders with every command and the exit codes; the
# completion offers the commands and each command's options.
page="$(MANWIDTH=80 man -l "$manual" 2>/dev/null)"
for part in "The discover command" "The configure command" "The open command" \
  "The doctor command" "Exit status" "BRELVAN_PASSWORD"; do
  grep -q "$part" <<<"$page" || { echo "package: manual page lacks '$part'" >&2; exit 1; }
done
complete_words() {
  # shellcheck disable=SC1091,SC2016
  bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _brelvan brelvan "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"; echo "${COMPREPLY[*]}"' \
    complete "$completion" "$@"
}
[[ "$(complete_words brelvan d)" == "discover doctor" ]] ||
  { echo "package: completion of commands: '$(complete_words brelvan d)'" >&2; exit 1; }
[[ "$(complete_words brelvan configure --d)" == "--dhcp --dry-run" ]] ||
  { echo "package: completion of options: '$(complete_words brelvan configure --d)'" >&2; exit 1; }
echo "package: manual page and completion of brelvan work"

# A user with nothing but the installed program, on the lab's PC: there port
# 998 is privileged too, so only the capability can let it bind.
userdel "$user" 2>/dev/null || true
useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
lab up
first_free="$(lab exec "$prefix-pc" sysctl -n net.ipv4.ip_unprivileged_port_start)"
((first_free > 998)) || { echo "package: port 998 is not privileged in the lab" >&2; exit 1; }

# The installed brelvan, as that user, finds the simulated devices of one
# subnet: it bound port 998 and heard their answers.
lab exec "$prefix-dev1" /usr/bin/tb-devsim --fleet "$root/tools/demo-fleet.ini" --host dev1 \
  --log "$dir/devsim.log" &
sim_pid=$!
for _ in $(seq 50); do
  grep -q '^READY' "$dir/devsim.log" 2>/dev/null && break
  sleep 0.1
done
found="$(lab exec "$prefix-pc" runuser -u "$user" -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
  "$brelvan" discover --csv 2>"$dir/brelvan.log" | tail -n +2 | wc -l)" || true
expected="$(grep -c '^host = dev1' "$root/tools/demo-fleet.ini")"
if [[ "$found" != "$expected" ]]; then
  echo "package: brelvan as $user listed $found devices, not $expected" >&2
  cat "$dir/brelvan.log" >&2
  exit 1
fi
echo "package: brelvan as $user listed the $found devices of the lab's first subnet"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

# A platform plugin that leaves a mark when loaded, planted through Qt's
# plugin variables. A copy of the program without the capability loads it,
# which shows the bait works; the installed program, started through its
# capability, must not.
# Outside the checkout, whose folders the user may not be let into.
bait="$(mktemp -d /tmp/tb-bait.XXXXXX)"
mkdir -p "$bait/plugins/platforms"
chmod 1777 "$bait"
/usr/lib/qt6/libexec/moc "$root/tests/package/bait-plugin.cpp" -o "$bait/bait-plugin.moc"
# shellcheck disable=SC2046
g++ -std=c++17 -shared -fPIC -I"$bait" -I"$root/tests/package" -DTB_BAIT_MARK="\"$bait/mark\"" \
  "$root/tests/package/bait-plugin.cpp" $(pkg-config --cflags --libs Qt6Core) \
  -o "$bait/plugins/platforms/libqbait.so"
chmod -R a+rX "$bait/plugins"
planted=(QT_PLUGIN_PATH="$bait/plugins" QT_QPA_PLATFORM_PLUGIN_PATH="$bait/plugins/platforms"
  QT_QPA_PLATFORM=bait)
install -m 0755 "$program" "$bait/uncapable"
lab exec "$prefix-pc" runuser -u "$user" -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
  "${planted[@]}" timeout 20 "$bait/uncapable" >"$dir/bait.log" 2>&1 || true
if [[ ! -e "$bait/mark" ]]; then
  echo "package: the planted plugin was not loaded even without the capability" >&2
  cat "$dir/bait.log" >&2
  exit 1
fi
rm -f "$bait/mark" "$bait/uncapable"
echo "package: without the capability the program loads a plugin planted by QT_QPA_PLATFORM"

# Its own session, so that it and Xvfb end together by the group's id.
setsid ip netns exec "$prefix-pc" runuser -u "$user" -- \
  env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "${planted[@]}" xvfb-run -a "$program" \
  >"$dir/run.log" 2>&1 &
app_pid=$!
bound=""
for _ in $(seq 1 100); do
  bound="$(lab exec "$prefix-pc" ss -H -u -l -n -p -e 'sport = :998' 2>/dev/null |
    grep tarnwick || true)"
  [[ -n "$bound" ]] && break
  sleep 0.2
done
if [[ -z "$bound" ]]; then
  echo "package: the installed program bound no port 998 as $user" >&2
  cat "$dir/run.log" >&2
  exit 1
fi
uid="$(id -u "$user")"
while IFS= read -r line; do echo "package: $line"; done <<<"$bound"
if grep -qv "uid:$uid " <<<"$bound"; then
  echo "package: a socket on port 998 is not owned by $user (uid $uid)" >&2
  exit 1
fi
pid="$(grep -o 'pid=[0-9]*' <<<"$bound" | head -n1 | cut -d= -f2)"
# The capability serves only to bind: it is given up once the sockets are.
effective=""
for _ in $(seq 1 20); do
  effective="$(awk '/^CapEff:/ {print $2}' /proc/"$pid"/status)"
  [[ "$effective" == 0000000000000000 ]] && break
  sleep 0.1
done
echo "package: pid $pid runs as $(ps -o user= -p "$pid") with effective capabilities $effective"
if [[ "$effective" != 0000000000000000 ]]; then
  echo "package: the window kept capabilities $effective after binding" >&2
  exit 1
fi
if [[ -e "$bait/mark" ]]; then
  echo "package: the installed program loaded the plugin planted through Qt's variables" >&2
  exit 1
fi
echo "package: the installed program ignored the planted plugin and holds no capability"
