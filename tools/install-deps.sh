#!/usr/bin/env bash
# Installs, from Debian packages, whatever the build and the tests need and is
# not there yet. Safe to run again: it does nothing when everything is present.
#
# A package mirror can be caught mid-sync: one index fails to download and
# `apt-get update` exits non-zero although every other index is fresh. That
# stops nothing here: the update is tried twice, the install goes on with the
# indexes it got and fails only for a package that cannot be had, by name.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake make g++ mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
      xvfb xauth xdotool imagemagick fonts-wqy-microhei fonts-dejavu-core python3 x11-apps x11-utils
      libpng-dev libspng-dev libstb-dev zlib1g-dev clang libclang-rt-14-dev
      googletest libgtest-dev libbenchmark-dev valgrind nsis zip unzip locales xclip ccache
      python3-html5lib python3-pefile osslsigncode
      wine wine64 xserver-xephyr)
# The 32-bit Wine loader only where this machine runs 32-bit x86 code at all.
i386=0
if bash "$here/runs-i386.sh"; then
  i386=1
  pkgs+=(wine32:i386 libxinerama1:i386)
fi

need=()
for p in "${pkgs[@]}"; do have_pkg "$p" || need+=("$p"); done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [ "$i386" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  if ! $SUDO apt-get update -qq; then
    echo "apt-get update failed; trying once more in 10 s" >&2
    sleep 10
    $SUDO apt-get update -qq ||
      echo "apt-get update failed again for some index: going on with the indexes it fetched" >&2
  fi
  if ! $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null; then
    # Name what cannot be had, then try the rest once more.
    missing=()
    for p in "${need[@]}"; do
      $SUDO apt-get install -s -qq --no-install-recommends "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
      echo "cannot install: ${missing[*]} (the package mirror does not offer them now)" >&2
      exit 1
    fi
    $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
  fi
fi

# Wine takes its code page (936) from the Chinese locale; generating it also
# keeps the shell from warning about an unknown locale.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
