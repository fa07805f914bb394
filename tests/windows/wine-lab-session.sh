#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The part of wine-lab-test.sh that runs inside the lab's PC namespace, on a
# display of its own: install, run, read the list, configure, uninstall.
# Usage: wine-lab-session.sh SETUP.EXE FLEET OUT
set -euo pipefail
setup="$1"
fleet="$2"
out="$3"

export WINEPREFIX="$out/wineprefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
fail() {
  echo "wine-lab-test: FAIL: $*" >&2
  import -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}
step() { echo "wine-lab-test: $*"; }

timeout 30 wineserver -k 2>/dev/null || true
# A window manager, as every desktop has: without one, wine waits two
# seconds for each window it hides to be withdrawn.
openbox >/dev/null 2>&1 &
rm -rf "$WINEPREFIX"
step "booting a wine prefix"
timeout 300 wineboot -i >/dev/null 2>&1 || fail "wineboot"
trap 'timeout 30 wineserver -k 2>/dev/null || true; kill %1 2>/dev/null || true' EXIT

# The program's "open the web page" goes through the shell to wine's
# browser launcher; here the "browser" only writes down what it was given.
urls="$out/web-pages.log"
: >"$urls"
browser="$out/browser.sh"
# shellcheck disable=SC2016 # "$1" is the browser script's own argument.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$urls" >"$browser"
chmod +x "$browser"
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$browser" /f >/dev/null 2>&1

step "refusing a folder outside Program Files"
# NSIS takes /D last and unquoted: a folder name without blanks.
status=0
timeout 180 wine "$setup" /S '/D=C:\users\Public\TarnwickBrelvan' || status=$?
wineserver -w
[[ "$status" == 2 ]] || fail "a silent install into a folder users can write to ended with $status"
[[ ! -e "$WINEPREFIX/drive_c/users/Public/TarnwickBrelvan/tarnwick-brelvan.exe" ]] ||
  fail "the program was installed into a folder users can write to"

step "installing $(basename "$setup") silently"
# wine's netsh is a stub that writes its arguments to the fixme channel: the
# firewall rules are checked from them.
WINEDEBUG=-all,fixme+netsh timeout 180 wine "$setup" /S 2>"$out/netsh.log" ||
  fail "the installer failed"
wineserver -w
rules="$(grep -F 'L"add"' "$out/netsh.log" || true)"
[[ "$(grep -c . <<<"$rules")" == 2 ]] || fail "not two firewall rules added: $rules"
while IFS= read -r rule; do
  for part in 'L"localport=998"' 'L"protocol=UDP"' 'L"remoteip=localsubnet"' \
    'L"program=C:\\Program Files\\Tarnwick Brelvan' 'brelvan.exe"'; do
    grep -qF "$part" <<<"$rule" || fail "a firewall rule lacks $part: $rule"
  done
done <<<"$rules"
programfiles="$WINEPREFIX/drive_c/Program Files/Tarnwick Brelvan"
[[ -f "$programfiles/tarnwick-brelvan.exe" ]] || fail "no program under Program Files"
[[ -f "$programfiles/uninstall.exe" ]] || fail "no uninstaller"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Tarnwick Brelvan.lnk' | grep -q . ||
  fail "no Start-menu entry"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnwickBrelvan'
wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
  fail "no uninstaller in Add/Remove Programs"

step "starting the installed program"
wine "C:\\Program Files\\Tarnwick Brelvan\\tarnwick-brelvan.exe" &
program=$!
window="$(timeout 60 xdotool search --sync --name '^Tarnwick Brelvan$' | head -n1)" ||
  fail "no main window"
# Keys as a keyboard types them (XTEST), into the window that has the focus.
press() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  shift
  xdotool key --delay 100 "$@"
  sleep 0.2
}
# The start-up query's window is half a second; the information window goes
# with it.
sleep 3
import -window root "$out/list.png"

# The list has the focus: Ctrl+End then Ctrl+Home select the first row
# (Ctrl+Home alone selects nothing when the first row is already the current
# one, as it is when every reply came in before the list took the focus),
# each Down the next, and Ctrl+C opens the selected device's web page, so the
# launcher's log is the list's IP column, row by row. A device without an
# address (0.0.0.0) opens nothing and says so in a box, which is closed.
expected="$(sed -n 's/^ip *= *//p' "$fleet" | sort)"
rows="$(printf '%s\n' "$expected" | wc -l)"
seen=""
for row in $(seq "$rows"); do
  before="$(wc -l <"$urls")"
  if ((row == 1)); then
    press "$window" ctrl+End ctrl+Home ctrl+c
  else
    press "$window" Down ctrl+c
  fi
  opened="none"
  for _ in $(seq 100); do
    if (($(wc -l <"$urls") > before)); then
      opened="$(tail -n1 "$urls" | sed -e 's|^http:[/\\]*||' -e 's|/$||')"
      break
    fi
    if box="$(xdotool search --name '^Brelvan$' 2>/dev/null | head -n1)" && [[ -n "$box" ]]; then
      sleep 0.3
      press "$box" Return
      opened=0.0.0.0
      break
    fi
    sleep 0.1
  done
  seen+="$opened"$'\n'
done
seen="${seen%$'\n'}"
step "web pages opened, in list order (0.0.0.0: none, told in a box): $(tr '\n' ' ' <<<"$seen")"
[[ "$(printf '%s\n' "$seen" | sort)" == "$expected" ]] ||
  fail "the list does not hold every simulated device (log: $urls)"
! grep -q '0\.0\.0\.0' "$urls" || fail "a page was opened for a device without an address"

# Configure "Planta A" (answers by limited broadcast, on the second subnet)
# without changing anything but the password field.
row="$(printf '%s\n' "$seen" | grep -nx '10.78.0.21' | cut -d: -f1)"
downs=()
for _ in $(seq $((row - 1))); do
  downs+=(Down)
done
press "$window" ctrl+Home "${downs[@]}" ctrl+p
dialog="$(timeout 10 xdotool search --sync --name '^Device Properties$' | head -n1)" ||
  fail "no properties dialog"
sleep 0.5
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 50 clave11
import -window root "$out/properties.png"
press "$dialog" Return
# The configuration's window is one second; then the outcome box.
box="$(timeout 10 xdotool search --sync --name '^Brelvan$' | head -n1)" || fail "no outcome"
sleep 0.5
import -window root "$out/outcome.png"
press "$box" Return
sent='data=CONFIG(clave11,00:1A:2B:3C:5E:01,10.78.0.21,255.255.255.0,10.78.0.1,planta-a)'
grep -F -- "$sent" "$out/devsim-dev2.log" >/dev/null ||
  fail "the simulator did not receive $sent"
grep -F 'SEND' "$out/devsim-dev2.log" | grep -qF 'data=ACK(00:1A:2B:3C:5E:01)' ||
  fail "the device did not acknowledge"
step "configured 00:1A:2B:3C:5E:01 with the CONFIG above"

# Acción → Diagnóstico... opens the diagnosis, which runs its checks at once.
press "$window" alt+a d
diagnosis="$(timeout 10 xdotool search --sync --name '^Diagn' | head -n1)" ||
  fail "no diagnosis window"
sleep 3
import -window root "$out/diagnosis.png"
# Closed while its checks still run, it leaves the screen at once and ends
# (its window destroyed) once they return: here some 45 s, as wine without a
# window manager takes two seconds to hide "Buscando..." after each query.
press "$diagnosis" Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Diagn' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Diagn' >/dev/null 2>&1 &&
  fail "the diagnosis window did not close"
closed=$SECONDS
for _ in $(seq 1200); do
  xdotool search --name '^Diagn' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --name '^Diagn' >/dev/null 2>&1 &&
  fail "the diagnosis window was not destroyed after its checks"
step "the diagnosis window closed, and was destroyed $((SECONDS - closed)) s later"

press "$window" ctrl+x
for _ in $(seq 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the program did not end on Ctrl+X"

# Every network the program knows got its directed broadcast, though the
# interfaces are more than the listing's first buffer holds.
for net in dev1:10.77.0.255 dev2:10.78.0.255; do
  grep -F "to=${net#*:} " "$out/devsim-${net%%:*}.log" | grep -qF 'data=HELLO()' ||
    fail "no query sent to ${net#*:}"
done

# The command-line companion, installed beside it, finds the same devices.
csv="$(timeout 60 wine "C:\\Program Files\\Tarnwick Brelvan\\brelvan.exe" discover --csv 2>"$out/discover.err" |
  tr -d '\r')" || fail "brelvan discover failed"
cli_rows="$(tail -n +2 <<<"$csv" | grep -ac .)"
((cli_rows == rows)) || fail "brelvan discover listed $cli_rows devices, not $rows"
# A device is inside the network it was heard on exactly when it has an
# address: each of the fleet's addresses lies in its own host's subnet.
judged="$(tail -n +2 <<<"$csv" | awk -F, '{
  inside = ($6 != "0.0.0.0")
  if (inside && substr($6, 1, 8) != substr($10, 1, 8)) inside = 0
  if (($11 == "true") != inside) print $6 " heard on " $10 " in_subnet=" $11 }')"
[[ -z "$judged" ]] || fail "brelvan judged a device's network wrongly: $judged"
step "brelvan.exe discover listed every device, each judged in or outside its network right"

# The doctor reads the PC's adapters as the lab made them, and names another
# Windows program that holds port 998: here brelvan.exe itself, in a query.
brelvan="C:\\Program Files\\Tarnwick Brelvan\\brelvan.exe"
# Its JSON on one line, blanks squeezed.
doctor() { timeout 60 wine "$brelvan" doctor --json 2>/dev/null | tr -d '\r\n' | tr -s ' '; }
doctor >"$out/doctor.json" || true
for adapter in eth0:10.77.0.1/24 eth1:10.78.0.1/24 vnet13:10.90.13.1/24; do
  grep -qE "\"detail\": \"up, Ethernet, ${adapter#*:}\",[^}]*\"subject\": \"${adapter%%:*}\"" \
    "$out/doctor.json" || fail "brelvan.exe doctor did not read $adapter (see doctor.json)"
done
grep -qF '"998 is free on every address"' "$out/doctor.json" || fail "port 998 is not free"
for adapter in eth0:10.77.0.1 eth1:10.78.0.1; do
  grep -qE "\"detail\": \"[1-9][0-9]* device\(s\) answered a query out of ${adapter%%:*} \(${adapter#*:}\)\"" \
    "$out/doctor.json" || fail "brelvan.exe doctor heard no device out of ${adapter%%:*} (see doctor.json)"
done
# Wine's firewall policy object answers "not implemented": skipped, not a crash.
grep -qE '"check": "firewall",[^}]*"verdict": "(skipped|ok|note|problem)"' "$out/doctor.json" ||
  fail "brelvan.exe doctor gave no firewall verdict (see doctor.json)"
timeout 60 wine "$brelvan" discover --timeout 6000 >/dev/null 2>&1 &
holder=$!
sleep 3
doctor >"$out/doctor-held.json" || true
wait "$holder" || true
grep -qF '"998 is held by brelvan.exe (pid ' "$out/doctor-held.json" ||
  fail "brelvan.exe doctor did not name the program holding port 998 (see doctor-held.json)"
step "brelvan.exe doctor read the adapters and named the holder of port 998"

step "other networks: a saved target behind the router"
targets='HKCU\Software\Tarnwick\Brelvan\Targets'
wine reg add "$targets" /v List /d '10.88.0.11' /f >/dev/null 2>&1
listed="$(timeout 60 wine "C:\\Program Files\\Tarnwick Brelvan\\brelvan.exe" targets list 2>/dev/null |
  tr -d '\r')"
[[ "$listed" == 10.88.0.11 ]] || fail "brelvan targets list read '$listed' from the registry"
wine "C:\\Program Files\\Tarnwick Brelvan\\tarnwick-brelvan.exe" &
program=$!
window="$(timeout 60 xdotool search --sync --name '^Tarnwick Brelvan$' | head -n1)" ||
  fail "no main window with a saved target"
sleep 3
import -window root "$out/list-with-target.png"
: >"$urls"
# The routed device is one more row: its web page is among those the rows
# open, each as above (a device without an address says so in a box).
for row in $(seq $((rows + 1))); do
  before="$(wc -l <"$urls")"
  if ((row == 1)); then
    press "$window" ctrl+End ctrl+Home ctrl+c
  else
    press "$window" Down ctrl+c
  fi
  for _ in $(seq 100); do
    (($(wc -l <"$urls") > before)) && break
    if box="$(xdotool search --name '^Brelvan$' 2>/dev/null | head -n1)" && [[ -n "$box" ]]; then
      sleep 0.3
      press "$box" Return
      break
    fi
    sleep 0.1
  done
done
grep -q '10\.88\.0\.11' "$urls" || fail "the program did not list the device behind the router"
grep -q '10\.88\.0\.12' "$urls" && fail "the program listed a device that no target names"
step "the program listed 10.88.0.11 through its saved target"
press "$window" alt+a r
dialog="$(timeout 10 xdotool search --sync --name '^Redes adicionales$' | head -n1)" ||
  fail "no Redes adicionales dialog"
sleep 0.5
import -window root "$out/targets-dialog.png"
press "$dialog" Escape
press "$window" ctrl+x
for _ in $(seq 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
wine reg delete "$targets" /v List /f >/dev/null 2>&1
csv="$(timeout 60 wine "C:\\Program Files\\Tarnwick Brelvan\\brelvan.exe" discover --csv \
  --target 10.88.0.0/24 2>/dev/null | tr -d '\r')" || fail "brelvan discover --target failed"
grep -q ',10\.88\.0\.12,.*,true$' <<<"$csv" || fail "brelvan.exe --target did not list 10.88.0.12: $csv"
step "brelvan.exe discover --target listed the devices behind the router"
wine reg add "$targets" /v List /t REG_DWORD /d 7 /f >/dev/null 2>&1
skipped="$(timeout 60 wine "C:\\Program Files\\Tarnwick Brelvan\\brelvan.exe" discover --csv 2>&1 >/dev/null |
  tr -d '\r')" || true
grep -q 'skipped a saved target' <<<"$skipped" || fail "a registry value of the wrong type was not reported: $skipped"
wine reg delete "$targets" /v List /f >/dev/null 2>&1

step "uninstalling silently"
timeout 120 wine "C:\\Program Files\\Tarnwick Brelvan\\uninstall.exe" /S
# The uninstaller runs on from a copy of itself; wait for it to finish.
wineserver -w
[[ ! -e "$programfiles" ]] || fail "Program Files still holds the program"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Tarnwick Brelvan.lnk' | grep -q . &&
  fail "the Start-menu entry is still there"
wine reg query "$key" >/dev/null 2>&1 && fail "Add/Remove Programs still lists the program"
step "passed"
