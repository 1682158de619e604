#!/usr/bin/env bash
# Makes the signed files the installer check is tested on, from one PE file: signed by
# the test publisher, signed by someone else, signed then changed, and not signed. The
# certificates come from a throw-away root made here.
#
# usage: sign_fixtures.sh INPUT.dll OUTPUT_DIR
set -euo pipefail
input=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 3650 \
  -subj "/CN=Quorvel Test Signing Root/O=Quorvel Tests" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >ext.cnf
sign() {  # organisation, output
  openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=$1/O=$1" 2>/dev/null
  openssl x509 -req -in signer.csr -CA root.pem -CAkey root.key -CAcreateserial -days 3650 \
    -extfile ext.cnf -out signer.pem 2>/dev/null
  rm -f "$2"  # osslsigncode will not overwrite the files of an earlier build
  osslsigncode sign -certs signer.pem -key signer.key -h sha256 -in "$input" -out "$2" >/dev/null
}
mkdir -p "$out"
sign "Quorvel Test Publisher" "$out/signed-by-publisher.dll"
sign "Someone Else" "$out/signed-by-someone-else.dll"
cp "$input" "$out/unsigned.dll"
# One byte of the code changed after signing: the signature no longer matches.
cp "$out/signed-by-publisher.dll" "$out/changed-after-signing.dll"
python3 - "$out/changed-after-signing.dll" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
data[0x400] ^= 0x01
open(path, "wb").write(data)
PY
