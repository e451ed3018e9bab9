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

# Creates the prefix on first use (about 15 s) and waits until it is ready.
wine_prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}
