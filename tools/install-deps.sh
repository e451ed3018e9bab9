#!/usr/bin/env bash
# Installs, from Debian packages, whatever the build and the tests need and is
# not there yet. Safe to run again: it does nothing when everything is present.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake make g++ mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
      xvfb xauth xdotool imagemagick fonts-wqy-microhei fonts-dejavu-core python3 x11-apps x11-utils
      libpng-dev libspng-dev libstb-dev zlib1g-dev clang libclang-rt-14-dev
      googletest libgtest-dev libbenchmark-dev valgrind nsis zip unzip locales xclip ccache
      python3-html5lib
      wine wine32:i386 wine64 libxinerama1:i386 xserver-xephyr)
for p in "${pkgs[@]}"; do have_pkg "$p" || need+=("$p"); done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need+=(wine32:i386)
  updated_arch=1
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine takes its code page (936) from the Chinese locale; generating it also
# keeps the shell from warning about an unknown locale.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
