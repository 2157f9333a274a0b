#!/bin/sh
# Installs what is missing, builds the Windows programs and starts the
# settings tool under Wine in the private prefix (on a private display when
# there is none).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
sh "$root/scripts/install-deps.sh"
. "$root/scripts/wine-env.sh"
wine_road_line
[ "$SUITE_WINE_ROAD" = win32 ] || sh "$root/scripts/build.sh" win32 programs
sh "$root/scripts/build.sh" "$SUITE_WINE_ROAD" programs
tree="$B/$SUITE_WINE_ROAD"
sh "$root/scripts/wine-prefix.sh" "$tree/wineprefix"
# Windows need a window manager only on a user's display.
managed=Y
if [ -z "$DISPLAY" ]; then
  . "$root/scripts/xvfb.sh"
  xvfb_start
  trap xvfb_stop EXIT INT TERM
  managed=N
  echo "No display: the settings tool runs on the private display $DISPLAY."
fi
(export WINEPREFIX="$tree/wineprefix" WINEDEBUG=-all HOME="$tree/wineprefix/home"
 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f >/dev/null 2>&1)
# The settings tool finds its companions beside it.
dest="$tree/tolvane/wine-files"
mkdir -p "$dest"
for p in tamrel pavrel nistrel; do cp -f "$tree/$p/$p.exe" "$dest/"; done
cd "$tree/tolvane"
sh "$root/scripts/wine-run.sh" "$tree/tolvane/tolvane.exe"
