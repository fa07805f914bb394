#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Static checks, each with zero findings:
#   - shellcheck on every shell script of the repository (.sh or a shell shebang);
#   - clang-format on every C++ file;
#   - clang-tidy with .clang-tidy on every C++ file of the build, in the plain
#     build's tree (build/), configured and with its moc and ui headers; the
#     analyzer with a smaller budget in tests/ and bench/ (see below).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dir="$root/build"
jobs="$(nproc)"
((jobs > 2)) && jobs=2

TB_DEPS_EXTRA="shellcheck clang-format clang-tidy clang-tools" bash "$root/scripts/deps.sh"
cd "$root"

start=$SECONDS
scripts=()
while IFS= read -r -d '' file; do
  if [[ "$file" == *.sh ]] || head -n 1 "$file" | grep -qE '^#!.*[/ ](ba|da)?sh( |$)'; then
    scripts+=("$file")
  fi
done < <(git ls-files -z)
echo "lint: shellcheck on ${#scripts[@]} scripts"
shellcheck "${scripts[@]}"

mapfile -d '' -t sources < <(git ls-files -z '*.cpp' '*.h')
echo "lint: clang-format on ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"
echo "lint: shellcheck and clang-format took $((SECONDS - start)) s"

# clang-tidy reads the compile commands and the generated headers they
# include. The autogen targets wait for the libraries their targets link, but
# not for the tests and programs, which are most of the build; the plain
# stage's build (same tree, same settings as scripts/build.sh) reuses them.
start=$SECONDS
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${TB_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
mapfile -t autogen < <(ninja -C "$dir" -t targets all | sed -n 's/^\([A-Za-z0-9_.+-]*_autogen\): phony$/\1/p')
cmake --build "$dir" -j "$jobs" --target "${autogen[@]}" >/dev/null
echo "lint: configured, ${#autogen[@]} autogen targets built in $((SECONDS - start)) s"

# Every file of the source folders in the build; generated sources (moc, qrc,
# embedded files) live in the build tree and are left out.
start=$SECONDS
log="$dir/clang-tidy.log"
tidy=(run-clang-tidy-14 -quiet -j "$jobs" -p "$dir")
if ! command -v run-clang-tidy-14 >/dev/null; then
  tidy=(run-clang-tidy -quiet -j "$jobs" -p "$dir")
fi
# The analyzer walks a test body, gtest's assertions and the printing of
# their failure messages inlined, until its budget of nodes per function runs
# out: every test and benchmark body reaches it, which was a third of their
# time. They get the analyzer's own shallow budget (75000 nodes of
# 225000) and still every check; the program's code keeps the full budget.
shallow=(-extra-arg=-Xclang -extra-arg=-analyzer-config -extra-arg=-Xclang -extra-arg=max-nodes=75000)
status=0
{
  "${tidy[@]}" "${shallow[@]}" "^$root/(tests|bench)/" || status=$?
  "${tidy[@]}" "^$root/(common|protocol|net|core|ui|app|cli|tools)/" || status=$?
} >"$log" 2>&1
# run-clang-tidy colours its output always. A header included by several
# files is reported once for each.
findings="$(sed -e 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '^/.*:[0-9]+:[0-9]+: (warning|error): ' |
  sort -u || true)"
count=0
[[ -z "$findings" ]] || count="$(wc -l <<<"$findings")"
echo "lint: clang-tidy took $((SECONDS - start)) s: $count findings (log: $log)"
if ((count > 0)); then
  echo "${findings//"$root/"/}"
  echo "lint: clang-tidy findings by folder and check:"
  # A finding that the analyzer ends in a system header has its cause in its
  # notes, in the log.
  sed -E -e "s|^$root/([^/]+)/.*\[([^]]+)\]$|\1 \2|" \
    -e 's|^/.*\[([^]]+)\]$|system-header \1|' <<<"$findings" | sort | uniq -c | sort -k2,2 -k1,1nr
  exit 1
fi
if ((status != 0)); then
  tail -n 40 "$log"
  echo "lint: clang-tidy failed (status $status)" >&2
  exit 1
fi
