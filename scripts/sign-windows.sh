#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives Windows programs an Authenticode signature, in place, with
# osslsigncode, when a certificate is named; without one it leaves them as
# they are. Usage: sign-windows.sh FILE.exe...
#   TB_SIGN_CERT       the code-signing certificate, PEM, followed by its chain
#   TB_SIGN_KEY        its private key, PEM
#   TB_SIGN_PASS_FILE  a file holding the key's passphrase (optional)
#   TB_SIGN_TIMESTAMP  an RFC 3161 time-stamping server's URL (optional; a
#                      signature without one lapses with the certificate)
set -euo pipefail
[[ -n "${TB_SIGN_CERT:-}" ]] || exit 0
if [[ -z "${TB_SIGN_KEY:-}" ]]; then
  echo "sign-windows: TB_SIGN_CERT needs TB_SIGN_KEY" >&2
  exit 1
fi
command -v osslsigncode >/dev/null || {
  echo "sign-windows: osslsigncode is missing (Debian package osslsigncode)" >&2
  exit 1
}
options=(-certs "$TB_SIGN_CERT" -key "$TB_SIGN_KEY" -h sha256
  -n "Tarnwick Brelvan" -i "https://www.tarnwick.example/brelvan/")
[[ -z "${TB_SIGN_PASS_FILE:-}" ]] || options+=(-readpass "$TB_SIGN_PASS_FILE")
[[ -z "${TB_SIGN_TIMESTAMP:-}" ]] || options+=(-ts "$TB_SIGN_TIMESTAMP")
for f in "$@"; do
  osslsigncode sign "${options[@]}" -in "$f" -out "$f.signed" >/dev/null
  mv "$f.signed" "$f"
  echo "sign-windows: signed $(basename "$f")"
done
