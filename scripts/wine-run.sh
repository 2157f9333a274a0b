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
# put FILE: FILE in the folder, unless the same (size and time) is there
# already; a new one replaces the old whole, never rewriting it in place,
# since a program still running (or ending) maps it.
put() {
  to="$bin/$(basename "$1")"
  [ -f "$to" ] && [ "$(stat -c '%s %Y' "$1")" = "$(stat -c '%s %Y' "$to")" ] && return 0
  cp -p "$1" "$to.$$" && mv -f "$to.$$" "$to"
}
put "$exe"
if [ -d "$(dirname "$exe")/wine-files" ]; then
  for f in "$(dirname "$exe")/wine-files"/*; do [ -f "$f" ] && put "$f"; done
fi
cd "$bin"
exec "$WINELOADER" "C:\\suite\\bin\\$(basename "$exe")" "$@"
