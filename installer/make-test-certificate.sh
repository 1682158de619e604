#!/usr/bin/env bash
# Makes a throw-away, self-signed code-signing certificate for builds and CI that have
# no certificate of their own. Nothing trusts it; it only lets the signing step and
# its verification run everywhere.
#
#   make-test-certificate.sh DIR    writes DIR/cert.pem and DIR/key.pem (kept for 30 days)
set -euo pipefail
dir=${1:?usage: make-test-certificate.sh DIR}
mkdir -p "$dir"
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -sha256 \
  -subj "/CN=Quorvel throw-away test signing/O=Lumora" \
  -addext "keyUsage=critical,digitalSignature" \
  -addext "extendedKeyUsage=codeSigning" \
  -keyout "$dir/key.pem.tmp" -out "$dir/cert.pem.tmp" 2>/dev/null
chmod 600 "$dir/key.pem.tmp"
mv "$dir/key.pem.tmp" "$dir/key.pem"
mv "$dir/cert.pem.tmp" "$dir/cert.pem"
