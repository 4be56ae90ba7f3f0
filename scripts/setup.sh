#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine. Run as root.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

packages=(wine wine32:i386 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
          binutils-mingw-w64-i686 mingw-w64-tools cmake ninja-build xvfb xauth googletest
          locales imagemagick x11-apps clang libclang-rt-14-dev attr)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Thai ANSI code page (874) under Wine comes from this locale.
locale -a 2>/dev/null | grep -qix 'th_TH.utf8' || localedef -i th_TH -f UTF-8 th_TH.UTF-8
