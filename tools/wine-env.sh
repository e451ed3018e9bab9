# Sourced by the scripts that start Wine: one prefix inside build/, Chinese
# locale (code page 936), no debug chatter, and no offers to download Gecko or
# Mono (Debian's Wine has neither; the dialogs would block a headless run).
#
# Tabulon ships as a 32-bit program, and its Windows tests run the 32-bit
# build under 32-bit Wine. Some virtual machines (PVM guests, for one) run no
# 32-bit x86 code at all: the kernel refuses the 32-bit loader with "Exec
# format error", and no 32-bit code segment works either, so not even a WoW64
# Wine could help. There the tests run a 64-bit build of the same sources under
# 64-bit Wine, in a prefix of its own (TABULON_WINARCH=win64). The choice is made
# once per run: the programs a script starts inherit it.
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
# folder laid out from it (make dist, make dist64) and the packages made from it.
export TABULON_TEST_BUILD="$_root/build/$TABULON_WINARCH"
if [ "$TABULON_WINARCH" = win64 ]; then
  # Debian's `wine` and the tools behind wineboot and winepath prefer the
  # 32-bit loader whenever it is installed; these shims take the 64-bit one.
  case ":$PATH:" in *":$_root/tools/wine64:"*) ;; *) export PATH="$_root/tools/wine64:$PATH" ;; esac
  export WINELOADER=/usr/lib/wine/wine64
  export TABULON_WINE_SUFFIX=64
  export TABULON_TEST_TOOLCHAIN="$_root/cmake/mingw-x86_64.cmake"
  export TABULON_TEST_DIST="$_root/build/dist64/Tabulon"
  export TABULON_TEST_RELEASE="$_root/build/release64"
else
  export TABULON_WINE_SUFFIX=""
  export TABULON_TEST_TOOLCHAIN="$_root/cmake/mingw-i686.cmake"
  export TABULON_TEST_DIST="$_root/dist/Tabulon"
  export TABULON_TEST_RELEASE="$_root/release"
fi
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
