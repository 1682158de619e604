#!/bin/sh
# Makes a test certificate chain for the platform simulator: a root, an intermediate
# and a leaf for "localhost" and 127.0.0.1, each with its own RSA key, plus a spare key
# whose pin a pin list may carry as a backup. Test material only: never deploy it.
#
#   make-chain.sh OUTDIR [DAYS]
#
# OUTDIR receives root.pem, intermediate.pem, leaf.pem, chain.pem (leaf, then
# intermediate: what the server presents), leaf.key, and pins.txt with one
# "<name> <pin>" line each for leaf, intermediate, root and backup. A pin is the
# Base64 SHA-256 of the DER SubjectPublicKeyInfo.
set -eu
out=$1
days=${2:-30}
mkdir -p "$out"
cd "$out"

key() { openssl genpkey -quiet -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1.key"; }
pin() { openssl pkey -in "$1" -pubout -outform DER | openssl dgst -sha256 -binary | openssl base64 -A; }

cat > ext.cnf <<'CNF'
[ca]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[leaf]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost, IP:127.0.0.1
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
CNF

for name in root intermediate leaf backup; do key $name; done

openssl req -new -x509 -key root.key -subj "/CN=Quorvel Test Root (test only)" \
  -days "$days" -sha256 -extensions ca -config ext.cnf -out root.pem

sign() {  # name subject issuer extension-section
  openssl req -new -key "$1.key" -subj "$2" -out "$1.csr"
  openssl x509 -req -in "$1.csr" -CA "$3.pem" -CAkey "$3.key" -CAcreateserial \
    -days "$days" -sha256 -extfile ext.cnf -extensions "$4" -out "$1.pem" 2>/dev/null
}
sign intermediate "/CN=Quorvel Test Intermediate (test only)" root ca
sign leaf "/CN=localhost" intermediate leaf
cat leaf.pem intermediate.pem > chain.pem

{
  for name in leaf intermediate root backup; do echo "$name $(pin $name.key)"; done
} > pins.txt
rm -f ./*.csr ./*.srl ext.cnf root.key intermediate.key backup.key
