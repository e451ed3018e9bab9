#!/usr/bin/env bash
# Release signing (tools/release.sh, tools/sign.sh) with a throw-away
# self-signed code-signing certificate: the program in the zip and the
# installer carry a signature that verifies against that certificate; without
# a certificate the release says clearly that it is unsigned. No timestamp
# server is asked (TABULON_SIGN_TIMESTAMP=none): the tests run offline.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tabulon test signer" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
verifies() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1; }
unsigned() { ! osslsigncode extract-signature -in "$1" -out "$work/sig.der" >/dev/null 2>&1; rm -f "$work/sig.der"; }

export TABULON_SIGN_TIMESTAMP=none
cp "$root/dist/Tabulon/Tabulon.exe" "$work/Tabulon.exe"
check "a copy of Tabulon.exe starts unsigned" unsigned "$work/Tabulon.exe"
check "sign.sh without a certificate refuses (status 3)" bash -c \
  "TABULON_SIGN_CERT= bash '$root/tools/sign.sh' '$work/Tabulon.exe' 2>/dev/null; [ \$? -eq 3 ]"
check "sign.sh signs it" env TABULON_SIGN_CERT="$work/cert.pem" TABULON_SIGN_KEY="$work/key.pem" \
  bash "$root/tools/sign.sh" "$work/Tabulon.exe"
check "the signature verifies against the certificate" verifies "$work/Tabulon.exe"
check "the signed program still passes the import and flag check" \
  "$root/tools/check-pe.py" "$work/Tabulon.exe"

# A whole release, signed, into a folder of its own.
signed_release() {
  TABULON_RELEASE_DIR="$work/signed" TABULON_SIGN_CERT="$work/cert.pem" \
    TABULON_SIGN_KEY="$work/key.pem" bash "$root/tools/release.sh" >"$work/signed.log" 2>&1
}
check "a release with a certificate builds" signed_release
setup=$(ls "$work"/signed/*-setup.exe 2>/dev/null | head -n1)
check "its installer is signed" verifies "${setup:-none}"
mkdir -p "$work/unzipped"
unzip -q "$work"/signed/*-win32.zip -d "$work/unzipped" 2>/dev/null
check "the program in its zip is signed" verifies "$work/unzipped/Tabulon/Tabulon.exe"
check "the program in dist/ is left as built" unsigned "$root/dist/Tabulon/Tabulon.exe"

uninstaller_signed() { [ "$(grep -c '^signed: ' "$work/signed.log")" -ge 3 ]; }
check "three files were signed: program, uninstaller, installer" uninstaller_signed

unsigned_release() {
  env -u TABULON_SIGN_CERT -u TABULON_SIGN_KEY TABULON_RELEASE_DIR="$work/plain" \
    bash "$root/tools/release.sh" >"$work/plain.log" 2>&1
}
check "a release without a certificate builds" unsigned_release
check "and says that it is unsigned" grep -q "UNSIGNED" "$work/plain.log"
check "its installer carries no signature" unsigned "$(ls "$work"/plain/*-setup.exe | head -n1)"

echo "signing: $failures failure(s)"
[ "$failures" -eq 0 ]
