#!/bin/sh
# Installs what building, running and testing the suite needs on Debian 12.
# Safe to run again: it installs only what is missing.
set -e
export DEBIAN_FRONTEND=noninteractive
pkgs="cmake g++ make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 googletest \
wine wine32 xvfb xauth fonts-ipafont-gothic imagemagick x11-apps xdotool locales"
missing=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing="update"
fi
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  apt-get update -q
  apt-get install -y -q --no-install-recommends $pkgs </dev/null
fi
# Wine reads the Japanese locale from LANG; glibc needs that locale generated.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
