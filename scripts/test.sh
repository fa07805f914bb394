#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test stage in turn:
#   lint     shellcheck, clang-format and clang-tidy, with no findings
#   plain    the whole suite in an optimised build (build/)
#   headless brelvan's side without Qt Gui and Widgets, and its tests
#   asan     the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer
#   tsan     the whole suite under ThreadSanitizer
#   fuzz     each libFuzzer harness for a bounded time
#   windows  the core's tests as 32-bit Windows programs under wine
#   package  the Debian package: build, install, capability, unprivileged run
#   reproducible  the packages and Windows files built again elsewhere, compared
#            byte for byte (diffoscope), and Authenticode signing
# TB_TEST_STAGES="plain fuzz" runs only the stages named. Lab tests need root
# and are skipped with a message without it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
all=(lint plain headless asan tsan fuzz windows package reproducible)
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
