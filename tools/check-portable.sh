#!/usr/bin/env bash
# Fails when a portable folder reaches for the Windows headers: base/, codec/
# and the PNG decoder build natively too, so only their *Win32.cpp files may
# include windows.h (or any other Win32 SDK header).
set -euo pipefail
cd "$(dirname "$0")/.."
hits=$(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](windows|winbase|wingdi|winuser|unknwn|objbase|ole2|olectl|shlobj|shellapi|commctrl)\.h[>"]' \
  $(ls base/* codec/* 2>/dev/null | grep -E '\.(h|cpp|inc)$' | grep -v 'Win32\.cpp$') || true)
if [ -n "$hits" ]; then
  echo "portable code includes a Windows header:"; echo "$hits"; exit 1
fi
echo "portable folders are free of Windows headers"
