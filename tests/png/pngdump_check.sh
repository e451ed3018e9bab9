#!/usr/bin/env bash
# pngdump: a PAM image on success, "Class<TAB>message" and exit 1 on failure.
set -euo pipefail
dump="$1"
data="$2"

out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$dump" "$data/pngsuite/basn6a08.png" >"$out"
header=$'P7\nWIDTH 32\nHEIGHT 32\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR'
[ "$(head -c ${#header} "$out")" = "$header" ] || { echo "bad PAM header"; exit 1; }
[ "$(stat -c %s "$out")" -eq $(( ${#header} + 1 + 32 * 32 * 4 )) ] || { echo "bad size"; exit 1; }

[ -z "$("$dump" --decode-only "$data/pngsuite/basi3p04.png")" ] || { echo "decode-only wrote"; exit 1; }

status=0
"$dump" "$data/crashers/corrupt-deflate.png" >"$out" || status=$?
[ "$status" -eq 1 ] || { echo "exit $status on a bad file"; exit 1; }
[ "$(wc -l <"$out")" -eq 1 ] || { echo "error not on one line"; exit 1; }
grep -q $'^EPNGZLIBError\tCould not decompress .* Description: data error (-3)$' "$out" ||
  { echo "unexpected error line: $(cat "$out")"; exit 1; }
echo ok
