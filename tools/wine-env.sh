# Sourced by the scripts that start Wine: one prefix inside build/, Chinese
# locale (code page 936), no debug chatter, and no offers to download Gecko or
# Mono (Debian's Wine has neither; the dialogs would block a headless run).
#
# Tabulon ships as a 32-bit and a 64-bit program; TABULON_WINARCH (win32 or
# win64) says which one a run drives, each under its own Wine in a prefix of
# its own. Unset, it is the 32-bit program where this machine runs 32-bit x86
# code at all (tools/runs-i386.sh) and the 64-bit one elsewhere: some virtual
# machines (PVM guests, for one) refuse every 32-bit x86 program, Wine's
# 32-bit loader included. The programs a script starts inherit the choice.
_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -z "${TABULON_WINARCH:-}" ]; then
  if bash "$_root/tools/runs-i386.sh"; then
    TABULON_WINARCH=win32
  else
    TABULON_WINARCH=win64
  fi
  export TABULON_WINARCH
fi
# What the Windows tests run: the build tree and its toolchain, the program
# folder laid out from it (make dist, make dist64) and its packages in release/.
export TABULON_TEST_BUILD="$_root/build/$TABULON_WINARCH"
if [ "$TABULON_WINARCH" = win64 ]; then
  # Debian's `wine` and the tools behind wineboot and winepath prefer the
  # 32-bit loader whenever it is installed; these shims take the 64-bit one.
  case ":$PATH:" in *":$_root/tools/wine64:"*) ;; *) export PATH="$_root/tools/wine64:$PATH" ;; esac
  export WINELOADER=/usr/lib/wine/wine64
  export TABULON_WINE_SUFFIX=64
  export TABULON_TEST_TOOLCHAIN="$_root/cmake/mingw-x86_64.cmake"
  export TABULON_TEST_DIST="$_root/build/dist64/Tabulon"
else
  export TABULON_WINE_SUFFIX=""
  export TABULON_TEST_TOOLCHAIN="$_root/cmake/mingw-i686.cmake"
  export TABULON_TEST_DIST="$_root/dist/Tabulon"
fi
export TABULON_TEST_RELEASE="$_root/release"
export WINEPREFIX="${WINEPREFIX:-$_root/build/wineprefix$TABULON_WINE_SUFFIX}"
export WINEARCH="$TABULON_WINARCH"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
unset _root

# Creates the prefix on first use (about 15 s) and waits until it is ready.
wine_prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}
