#!/usr/bin/env bash
# Fails when a portable folder reaches for the Windows headers: base/, codec/
# and png/ build natively too, so only their *Win32.cpp files may include
# windows.h (or any other Win32 SDK header), and no header may fall back on
# #ifdef _WIN32 to declare Windows-only members.
set -euo pipefail
cd "$(dirname "$0")/.."
hits=$(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](windows|winbase|wingdi|winuser|unknwn|objbase|ole2|olectl|shlobj|shellapi|commctrl)\.h[>"]' \
  $(ls base/* codec/* png/* 2>/dev/null | grep -E '\.(h|cpp|inc)$' | grep -v 'Win32\.cpp$') || true)
if [ -n "$hits" ]; then
  echo "portable code includes a Windows header:"; echo "$hits"; exit 1
fi
hits=$(grep -n -E '^[[:space:]]*#[[:space:]]*if(n?def)?[[:space:]].*_WIN32' base/*.h codec/*.h png/*.h || true)
if [ -n "$hits" ]; then
  echo "portable header has Windows-only parts; put them in a *Win32.cpp file:"; echo "$hits"; exit 1
fi
# Each portable folder builds on base/ only (and on itself).
hits=$(for dir in base codec png; do
  ls $dir/* | grep -E '\.(h|cpp|inc)$' | grep -v 'Win32\.cpp$' |
    xargs grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
    grep -v -E "#[[:space:]]*include[[:space:]]*\"(base|$dir)/" || true
done)
if [ -n "$hits" ]; then
  echo "portable code includes a folder other than base/ and its own:"; echo "$hits"; exit 1
fi
echo "portable folders are free of Windows headers and build on base/ only"
