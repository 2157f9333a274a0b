#!/bin/sh
# Runs a Windows program of the build tree under Wine, in the tree's private
# prefix. The prefix has no drive onto the host, so the program is copied to
# C:\suite\bin first (with the files of a "wine-files" folder beside it).
# SUITE_LANG picks the locale (default ja_JP.UTF-8, a Japanese system).
set -e
exe=$1; shift
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
if [ -z "$SUITE_WINEPREFIX" ]; then
  d=$(pwd)
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  [ -f "$d/CMakeCache.txt" ] || { echo "wine-run: no build tree above $(pwd)" >&2; exit 2; }
  SUITE_WINEPREFIX="$d/wineprefix"
fi
sh "$here/scripts/wine-prefix.sh" "$SUITE_WINEPREFIX"
export WINEPREFIX="$(cd "$SUITE_WINEPREFIX" && pwd)"
export HOME="$WINEPREFIX/home"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=${SUITE_LANG:-ja_JP.UTF-8} LC_ALL=${SUITE_LANG:-ja_JP.UTF-8}
bin="$WINEPREFIX/drive_c/suite/bin"
mkdir -p "$bin"
cp -f "$exe" "$bin/"
[ -d "$(dirname "$exe")/wine-files" ] && cp -rf "$(dirname "$exe")/wine-files/." "$bin/"
cd "$bin"
exec "$WINELOADER" "C:\\suite\\bin\\$(basename "$exe")" "$@"
