#!/usr/bin/env bash
# Builds the release packages from dist/Tabulon: the portable zip and the
# per-user NSIS installer, both named after the project version. With
# TABULON_SIGN_CERT (and TABULON_SIGN_KEY) set, Tabulon.exe, the installer and
# the uninstaller it writes are signed and timestamped (tools/sign.sh);
# without, the packages are built unsigned and the script says so.
# TABULON_RELEASE_DIR sets the output folder (default release/), TABULON_DIST
# the program folder (default dist/Tabulon; build/dist64/Tabulon for the 64-bit
# program, whose packages end in -win64.zip and -setup-x64.exe). Beside them
# goes the program's symbols file, Tabulon-<version>-<arch>.debug.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="${TABULON_DIST:-$root/dist/Tabulon}"
out="${TABULON_RELEASE_DIR:-$root/release}"
for f in Tabulon.exe source/DeskTopBG/A1.bmp source/DeskTopBG/A2.bmp source/DeskTopBG/A.bmp; do
  [ -f "$dist/$f" ] || { echo "missing $dist/$f (run make dist)" >&2; exit 1; }
done
name=$(bash "$root/tools/package-name.sh" "$dist/Tabulon.exe") # Tabulon-<version>-<arch>
version=${name#Tabulon-}; version=${version%-*}
arch=${name##*-}
# The program ships stripped; its symbols, laid beside the program folder by
# tools/dist.sh, go beside the packages, one file per program.
symbols="$(dirname "$dist")/$name.debug"
[ -f "$symbols" ] || { echo "missing $symbols (run make dist)" >&2; exit 1; }
mkdir -p "$out"
out="$(cd "$out" && pwd)"
cp "$symbols" "$out/$name.debug"
# A 64-bit Tabulon.exe gets a 64-bit installer: the one users of 64-bit
# Windows run, and the one the tests run where no 32-bit code runs.
target=()
setup="$out/Tabulon-$version-setup.exe"
if [ "$arch" = win64 ]; then
  target=(-XTarget\ amd64-unicode -DX64)
  setup="$out/Tabulon-$version-setup-x64.exe"
fi

# The packages are made from a staged copy, so that signing never touches dist/.
stage="$out/stage"
rm -rf "$stage"
mkdir -p "$stage"
cp -r "$dist" "$stage/Tabulon"
rm -rf "$stage/Tabulon/Data"
mkdir -p "$stage/Tabulon/Data"
signing=()
if [ -n "${TABULON_SIGN_CERT:-}" ]; then
  bash "$root/tools/sign.sh" "$stage/Tabulon/Tabulon.exe"
  signing=(-DSIGN="$root/tools/sign.sh")
fi

zip="$out/$name.zip"
rm -f "$zip"
# The zip holds the program folder as the program expects it, with an empty
# Data folder for the note.
(cd "$stage" && zip -q -r -X "$zip" Tabulon -x 'Tabulon/Data/*' && zip -q "$zip" Tabulon/Data/)
makensis -V2 "${target[@]}" -INPUTCHARSET UTF8 -DVERSION="$version" -DDISTDIR="$stage/Tabulon" \
  -DICON="$root/resources/Tabulon.ico" -DOUTFILE="$setup" "${signing[@]}" "$root/installer/Tabulon.nsi"
rm -rf "$stage"
# What a download costs nearly every user: an x64 installer grown past this
# size carries something it should not (debug information, say). Checked
# unsigned: signing adds a signed copy of the uninstaller and the
# certificates, whose size is the certificate's, not the program's.
limit=1000000
size=$(stat -c %s "$setup")
if [ "$arch" = win64 ] && [ ${#signing[@]} -eq 0 ] && [ "$size" -ge "$limit" ]; then
  echo "release: $setup is $size bytes, over $limit" >&2
  rm -f "$setup"
  exit 1
fi
echo "release: $zip"
echo "release: $setup ($size bytes)"
echo "release: $out/$name.debug (the symbols of its Tabulon.exe)"
if [ ${#signing[@]} -eq 0 ]; then
  echo "release: UNSIGNED - TABULON_SIGN_CERT/TABULON_SIGN_KEY are not set, so Tabulon.exe," \
    "the installer and the uninstaller carry no signature (SmartScreen will warn users;" \
    "see \"Signing\" in README.md)"
fi
