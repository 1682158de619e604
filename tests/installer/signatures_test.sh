#!/usr/bin/env bash
# The release's signatures: quorvel.exe, quorvel-tool.exe, the MSI and the player inside
# the MSI are signed with SHA-256 by the certificate the build signed with, and a changed
# byte breaks each of them.
#
#   signatures_test.sh RELEASE_DIR VERSION
#
# Verified against RELEASE_DIR/signer.pem (the throw-away certificate's own), or against
# QUORVEL_SIGN_CA (the root of a deployment's certificate) when that is set.
set -euo pipefail
release=$(realpath "${1:?usage: signatures_test.sh RELEASE_DIR VERSION}")
version=${2:?}
ca=${QUORVEL_SIGN_CA:-$release/signer.pem}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

msi=$release/quorvel-$version.msi
for file in "$release/quorvel.exe" "$release/quorvel-tool.exe" "$msi" "$ca"; do
  [ -f "$file" ] || fail "no $file: was the release built (wixl and osslsigncode installed)?"
done

verify() {
  local file=$1 report
  report=$(osslsigncode verify -in "$file" -CAfile "$ca" 2>&1) ||
    fail "$(basename "$file"): the signature does not verify:"$'\n'"$report"
  grep -q '^Message digest algorithm *: SHA256' <<<"$report" ||
    fail "$(basename "$file"): not signed with SHA-256:"$'\n'"$report"
  grep -q '^Number of verified signatures: 1$' <<<"$report" ||
    fail "$(basename "$file"): expected exactly one signature:"$'\n'"$report"
}

# A copy with one byte changed in its middle, which must no longer verify.
tampered() {
  local copy=$work/tampered-$(basename "$1")
  python3 -c 'import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[len(data) // 2] ^= 0x01
open(sys.argv[2], "wb").write(data)' "$1" "$copy"
  if osslsigncode verify -in "$copy" -CAfile "$ca" >/dev/null 2>&1; then
    fail "$(basename "$1"): a changed byte still verifies"
  fi
}

for file in "$release/quorvel.exe" "$release/quorvel-tool.exe" "$msi"; do
  verify "$file"
  tampered "$file"
done

# The MSI carries the signed player, not the build's unsigned one.
(cd "$work" && msiextract --directory extracted "$msi" >/dev/null)
inside=$(find "$work/extracted" -name quorvel.exe)
[ -n "$inside" ] || fail "no quorvel.exe inside $(basename "$msi")"
cmp -s "$inside" "$release/quorvel.exe" || fail "the player inside the MSI is not the signed one"
verify "$inside"

echo "signatures: quorvel.exe, quorvel-tool.exe, $(basename "$msi") and the player inside it verified"
