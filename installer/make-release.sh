#!/usr/bin/env bash
# Assembles the release in OUT_DIR: quorvel.exe and quorvel-tool.exe signed, and
# quorvel-VERSION.msi (carrying the signed player) signed in turn.
#
#   make-release.sh OUT_DIR VERSION PLAYER_EXE TOOL_EXE ICON [RUNTIME_FOLDER]
#
# Signed with the certificate named by QUORVEL_SIGN_CERT and QUORVEL_SIGN_KEY (see
# sign.sh). Without them, with a throw-away certificate made once in OUT_DIR/../signing:
# good for checking the signing step, trusted by nobody. OUT_DIR/signer.pem is the
# certificate the files were signed with, for verification.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?} version=${2:?} player=${3:?} tool=${4:?} icon=${5:?} runtime=${6:-}

if [ -z "${QUORVEL_SIGN_CERT:-}" ] || [ -z "${QUORVEL_SIGN_KEY:-}" ]; then
  throwaway=$(dirname "$out")/signing
  # Made again once it is near its end, so CI never verifies an expired certificate.
  if ! openssl x509 -in "$throwaway/cert.pem" -noout -checkend $((7 * 86400)) >/dev/null 2>&1; then
    "$here/make-test-certificate.sh" "$throwaway"
  fi
  export QUORVEL_SIGN_CERT=$throwaway/cert.pem QUORVEL_SIGN_KEY=$throwaway/key.pem
  echo "make-release: signing with the throw-away test certificate in $throwaway"
fi

mkdir -p "$out"
msi=$out/quorvel-$version.msi
cp "$player" "$out/quorvel.exe"
cp "$tool" "$out/quorvel-tool.exe"
"$here/sign.sh" "$out/quorvel.exe" "$out/quorvel-tool.exe"
"$here/build-msi.sh" --version "$version" --exe "$out/quorvel.exe" --icon "$icon" --out "$msi" \
  ${runtime:+--runtime-folder "$runtime"}
"$here/sign.sh" "$msi"
cp "$QUORVEL_SIGN_CERT" "$out/signer.pem"
