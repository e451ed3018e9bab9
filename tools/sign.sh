#!/usr/bin/env bash
# sign.sh FILE...: signs Windows executables in place with osslsigncode, by the
# certificate in TABULON_SIGN_CERT (PEM certificate chain, with the key in
# TABULON_SIGN_KEY; or one PKCS#12 file .pfx/.p12, key included) and the
# password in TABULON_SIGN_PASS if the key has one. The signature is
# timestamped by TABULON_SIGN_TIMESTAMP (an RFC 3161 server, default
# DigiCert's), so that it stays valid after the certificate expires;
# TABULON_SIGN_TIMESTAMP=none leaves the timestamp out (tests, offline).
# Exit status 3 when no certificate is configured.
set -euo pipefail
cert="${TABULON_SIGN_CERT:-}"
key="${TABULON_SIGN_KEY:-}"
stamp="${TABULON_SIGN_TIMESTAMP:-http://timestamp.digicert.com}"
[ -n "$cert" ] || { echo "sign: TABULON_SIGN_CERT is not set" >&2; exit 3; }
[ -f "$cert" ] || { echo "sign: no certificate file $cert" >&2; exit 1; }
command -v osslsigncode >/dev/null || { echo "sign: osslsigncode is missing (apt install osslsigncode)" >&2; exit 1; }

args=(-h sha256 -n Tabulon)
case "$cert" in
  *.pfx|*.p12) args+=(-pkcs12 "$cert") ;;
  *)
    [ -n "$key" ] && [ -f "$key" ] || { echo "sign: TABULON_SIGN_KEY must name the key of $cert" >&2; exit 1; }
    args+=(-certs "$cert" -key "$key") ;;
esac
[ "$stamp" = none ] || args+=(-ts "$stamp")

for f in "$@"; do
  tmp="$f.signing"
  rm -f "$tmp"
  if [ -n "${TABULON_SIGN_PASS:-}" ]; then
    osslsigncode sign "${args[@]}" -readpass <(printf '%s' "$TABULON_SIGN_PASS") -in "$f" -out "$tmp" >/dev/null
  else
    osslsigncode sign "${args[@]}" -in "$f" -out "$tmp" >/dev/null
  fi
  mv -f "$tmp" "$f"
  echo "signed: $f$([ "$stamp" = none ] && echo ' (no timestamp)')"
done
