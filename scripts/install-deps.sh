#!/bin/sh
# Installs what building, running and testing the suite needs on Debian 12.
# Safe to run again: it installs only what is missing. Where the machine
# cannot execute 32-bit programs, it adds 64-bit Wine and the x86_64 cross
# compiler for the test tree (see wine-env.sh).
set -e
export DEBIAN_FRONTEND=noninteractive
root=$(cd "$(dirname "$0")/.." && pwd)
install() {  # PACKAGE...: those not yet installed
  missing=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  [ -n "$updated" ] || { apt-get update -q; updated=1; }
  apt-get install -y -q --no-install-recommends $missing </dev/null
}
updated=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  apt-get update -q; updated=1
fi
install cmake g++ make g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 googletest \
  clang libclang-rt-14-dev wine wine32 xvfb xauth fonts-ipafont-gothic fonts-ipaexfont-gothic \
  imagemagick x11-apps xdotool locales liblnk-utils fp-utils zip unzip
. "$root/scripts/wine-env.sh"
if [ "$SUITE_WINE_ROAD" = win64 ]; then
  install wine64 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
fi
# Wine reads the Japanese locale from LANG; glibc needs that locale generated.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
