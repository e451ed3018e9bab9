# Sourced by the scripts that start Wine: one prefix inside build/, Chinese
# locale (code page 936), no debug chatter, and no offers to download Gecko or
# Mono (Debian's Wine has neither; the dialogs would block a headless run).
_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$_root/build/wineprefix}"
export WINEARCH="${WINEARCH:-win32}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
unset _root

# Tabulon is a 32-bit program, so Wine's 32-bit loader must run here. Some
# virtual machines (PVM guests, for one) refuse 32-bit x86 code although the
# kernel was built with it; every Windows test would then fail with "Exec format
# error". Say so once instead. Checked once per run: the programs a script
# starts (ctest's per-test runner, say) inherit the answer.
wine_can_run_32bit() {
  local loader=/usr/lib/wine/wine
  [ -n "${TABULON_WINE32_OK:-}" ] && return 0
  [ -x "$loader" ] || return 0 # not installed yet: the install step reports that
  if "$loader" --version >/dev/null 2>&1; then
    export TABULON_WINE32_OK=1
    return 0
  fi
  echo "error: this machine cannot run 32-bit x86 programs: '$loader --version' fails." >&2
  echo "error: the Windows tests and 'make run' need a machine whose kernel runs them (IA-32 emulation)." >&2
  return 1
}

# Creates the prefix on first use (about 15 s) and waits until it is ready.
wine_prefix_ready() {
  wine_can_run_32bit || exit 1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}
