#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test stage in turn; CI
# runs it as it stands. The stages, knobs and costs are in usage() below.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
all=(lint plain headless asan tsan fuzz windows package reproducible)

usage() {
  cat <<'EOF'
Usage: bash scripts/test.sh [--help]

Installs the Debian 12 packages it needs when they are missing, then builds
and runs every test stage in turn, each in its own build tree; the first
failure stops it. Run it as root: it installs packages, and the lab tests
create network namespaces (without root they are skipped with a message).

Stages, in order (scripts/stages/STAGE.sh):
  lint      shellcheck, clang-format and clang-tidy, with no findings (build/)
  plain     the whole suite in an optimised build (build/)
  headless  brelvan's side without Qt Gui and Widgets: its tests, and its
            package alone (build-headless/)
  asan      the whole suite under AddressSanitizer and
            UndefinedBehaviorSanitizer (build-asan/)
  tsan      the whole suite under ThreadSanitizer (build-tsan/)
  fuzz      each libFuzzer harness for TB_FUZZ_SECONDS from the seed corpus
            (build-fuzz/)
  windows   the 32-bit Windows programs cross-built; under wine the Qt-free
            core's and the Windows-only code's tests, the widget tests and
            the main window's tests that need no network, then in the lab
            the installer, the installed program and brelvan.exe against
            the simulated devices (build-win32/)
  package   both Debian packages built, checked (lintian, appstreamcli),
            installed, run by an unprivileged user in the lab, and removed
            (build-pkg/)
  reproducible  the packages and the Windows programs, installer and zip
            built a second time elsewhere (another folder, umask and time
            zone, no ccache) and compared byte for byte with diffoscope;
            Authenticode signing with a throwaway certificate (build-repro/)

Knobs (environment variables):
  TB_TEST_STAGES="plain fuzz"  only the stages named, in the order given
  TB_FUZZ_SECONDS=N            seconds per fuzz harness (default 60)
  TB_LAB_PREFIX=xy             name prefix of the lab's network namespaces
                               (each stage has its own default), to keep
                               parallel runs apart
  TB_PKG_LAB_PREFIX=xy         the package stage's prefix alone
  TB_WINDOWS_SDK_CACHE=DIR     where the Windows SDK is kept
                               (default /var/cache/tarnwick-brelvan)
  TB_DEBIAN_MIRROR=URL         where the SDK's Debian sources come from
                               (default http://deb.debian.org)
  TB_SDK_JOBS=N                compile jobs of the SDK build (default: cores)

Costs: root. The packages to build, test and lint (compilers, Qt 6, CMake,
Ninja, GoogleTest, Xvfb, clang, shellcheck); for the windows stage the i386
architecture is added and mingw-w64, NSIS, zip and 32-bit wine installed; the
package stage adds lintian, appstream and man-db. The first windows stage
builds the Windows SDK (a static Qt): about 40 minutes on two cores, in the
background while the earlier stages run, and cached afterwards. A whole run
on a new two-core machine, that SDK included, takes about 55 minutes.
Quick path: TB_TEST_STAGES=plain bash scripts/test.sh (the plain stage alone).
EOF
}
if (($#)); then
  case "$1" in
  -h | --help)
    usage
    exit 0
    ;;
  *)
    usage >&2
    exit 2
    ;;
  esac
fi
read -r -a stages <<<"${TB_TEST_STAGES:-${all[*]}}"

bash "$root/scripts/deps.sh"

# The Windows SDK takes the longest to build and the earlier stages leave the
# processors idle while their tests wait on the network: build it meanwhile,
# at the lowest priority, so that it takes only what they leave. The windows
# stage waits for it (the SDK script holds a lock while it builds).
if [[ " ${stages[*]} " == *" windows "* ]] && [[ "${stages[0]}" != windows ]]; then
  sdk_log="$root/build-win32/sdk.log"
  mkdir -p "$root/build-win32"
  echo "=== building the Windows SDK in the background (log: $sdk_log)"
  nice -n 19 bash "$root/scripts/windows-sdk.sh" >"$sdk_log" 2>&1 &
fi

for stage in "${stages[@]}"; do
  script="$root/scripts/stages/$stage.sh"
  if [[ ! -f "$script" ]]; then
    if [[ -n "${TB_TEST_STAGES:-}" ]]; then
      echo "test: no stage '$stage'" >&2
      exit 1
    fi
    continue
  fi
  echo "=== stage $stage"
  start=$SECONDS
  bash "$script"
  echo "=== stage $stage passed in $((SECONDS - start)) s"
done
