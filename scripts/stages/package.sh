#!/usr/bin/env bash
# The Debian package as a user meets it: build it with CPack, check it with
# lintian (no errors), install it with apt, validate its desktop entry and its
# AppStream metadata (offline), check that the program got
# cap_net_bind_service, then run the installed
# program as a fresh unprivileged user inside the network lab (namespaces
# $TB_PKG_LAB_PREFIX-*, default tbpkg) and prove that it bound UDP port 998.
# The package, the user and the lab are removed at the end.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build-pkg/pkg"
prefix="${TB_PKG_LAB_PREFIX:-tbpkg}"
user=tbpkg-user
program=/usr/bin/tarnwick-brelvan
jobs="$(nproc)"
((jobs > 2)) && jobs=2

TB_DEPS_EXTRA="libcap2-bin desktop-file-utils dpkg-dev lintian appstream" bash "$root/scripts/deps.sh"

# RelWithDebInfo, stripped by CPack: GCC 12 at -O3 warns falsely (-Wrestrict)
# inside std::string, and warnings are errors.
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTB_BUILD_TESTS=OFF -DTB_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$jobs"
rm -f "$dir"/tarnwick-brelvan_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb="$(ls "$dir"/tarnwick-brelvan_*.deb)"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
# Warnings are shown; only errors fail the stage.
lintian_ok=true
report="$(lintian --fail-on error "$deb" 2>&1)" || lintian_ok=false
grep -v "root privileges" <<<"$report" | sed 's/^/package: lintian: /' || true
$lintian_ok || { echo "package: lintian found errors" >&2; exit 1; }

lab() { TB_LAB_PREFIX="$prefix" bash "$root/scripts/lab.sh" "$@"; }
app_pid=""
cleanup() {
  if [[ -n "$app_pid" ]]; then
    kill -- "-$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  lab down || true
  userdel "$user" 2>/dev/null || true
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tarnwick-brelvan >/dev/null 2>&1 || true
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
if ! apt-get install -y -qq --no-install-recommends "$deb" >"$dir/install.log" 2>&1; then
  cat "$dir/install.log" >&2
  exit 1
fi
metainfo=/usr/share/metainfo/com.tarnwick.brelvan.metainfo.xml
for f in "$program" /usr/bin/tb-devsim /usr/share/applications/tarnwick-brelvan.desktop \
  "$metainfo" /usr/share/icons/hicolor/32x32/apps/tarnwick-brelvan.png \
  /usr/share/doc/tarnwick-brelvan/copyright /usr/share/doc/tarnwick-brelvan/changelog.gz; do
  [[ -e "$f" ]] || { echo "package: $f not installed" >&2; exit 1; }
done
desktop-file-validate /usr/share/applications/tarnwick-brelvan.desktop
# Offline: the validator would otherwise fetch the screenshot and home page.
appstreamcli validate --no-net --strict "$metainfo"
caps="$(getcap "$program")"
echo "package: getcap: $caps"
grep -q "cap_net_bind_service=ep" <<<"$caps" || { echo "package: capability missing" >&2; exit 1; }

# A user with nothing but the installed program, on the lab's PC: there port
# 998 is privileged too, so only the capability can let it bind.
userdel "$user" 2>/dev/null || true
useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
lab up
first_free="$(lab exec "$prefix-pc" sysctl -n net.ipv4.ip_unprivileged_port_start)"
((first_free > 998)) || { echo "package: port 998 is not privileged in the lab" >&2; exit 1; }

# Its own session, so that it and Xvfb end together by the group's id.
setsid ip netns exec "$prefix-pc" runuser -u "$user" -- \
  env -i PATH=/usr/bin:/bin LANG=C.UTF-8 xvfb-run -a "$program" >"$dir/run.log" 2>&1 &
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
echo "package: pid $pid runs as $(ps -o user= -p "$pid") with capabilities" \
  "$(grep CapEff /proc/"$pid"/status | awk '{print $2}')"
