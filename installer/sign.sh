#!/usr/bin/env bash
# Signs Windows files in place with Authenticode (osslsigncode, SHA-256).
#
#   sign.sh FILE...
#
# The certificate and key come from the environment, never from the repository:
#   QUORVEL_SIGN_CERT            PEM file: the code-signing certificate, followed by its
#                                intermediates
#   QUORVEL_SIGN_KEY             PEM file: its private key
#   QUORVEL_SIGN_KEY_PASS_FILE   optional: a file holding the key's passphrase
#   QUORVEL_SIGN_TIMESTAMP_URL   optional: an RFC 3161 time-stamp server; the signature
#                                then stays valid after the certificate expires
# Files are signed as "Quorvel" by Lumora; a file already signed is signed anew.
set -euo pipefail

die() { printf 'sign: %s\n' "$*" >&2; exit 1; }
[ $# -gt 0 ] || die "usage: sign.sh FILE..."
[ -n "${QUORVEL_SIGN_CERT:-}" ] && [ -n "${QUORVEL_SIGN_KEY:-}" ] ||
  die "QUORVEL_SIGN_CERT and QUORVEL_SIGN_KEY must name the certificate and key (PEM)"
for file in "$QUORVEL_SIGN_CERT" "$QUORVEL_SIGN_KEY" ${QUORVEL_SIGN_KEY_PASS_FILE:+"$QUORVEL_SIGN_KEY_PASS_FILE"}; do
  [ -r "$file" ] || die "cannot read $file"
done

options=(-certs "$QUORVEL_SIGN_CERT" -key "$QUORVEL_SIGN_KEY" -h sha256 -n Quorvel)
[ -n "${QUORVEL_SIGN_KEY_PASS_FILE:-}" ] && options+=(-readpass "$QUORVEL_SIGN_KEY_PASS_FILE")
[ -n "${QUORVEL_SIGN_TIMESTAMP_URL:-}" ] && options+=(-ts "$QUORVEL_SIGN_TIMESTAMP_URL")

for file in "$@"; do
  [ -f "$file" ] || die "no file $file"
  unsigned=$file.unsigned
  # A signed file is signed anew rather than given a second signature.
  if ! osslsigncode remove-signature -in "$file" -out "$unsigned" >/dev/null 2>&1; then
    cp "$file" "$unsigned"
  fi
  rm -f "$file.signed"
  osslsigncode sign "${options[@]}" -in "$unsigned" -out "$file.signed" >/dev/null ||
    { rm -f "$unsigned" "$file.signed"; die "signing $file failed"; }
  rm -f "$unsigned"
  mv "$file.signed" "$file"
done
