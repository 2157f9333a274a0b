#!/bin/sh
# Installs what is missing, builds the Windows programs and starts one of
# them under Wine in the private prefix (on a private display when there is
# none). Usage: run.sh [tolvane|tamrel|pavrel|nistrel] [ARGUMENT...]
#   sh scripts/run.sh                     the settings tool
#   sh scripts/run.sh tamrel 'C:\windows' the folder-icon tool on a folder
#   sh scripts/run.sh pavrel              the cleanup wizard
#   sh scripts/run.sh nistrel             the installer (nistrel /U uninstalls)
# SUITE_LANG=en_US.UTF-8 shows an English system; the default is Japanese.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
program=${1:-tolvane}
[ $# -gt 0 ] && shift
case "$program" in
  tolvane|tamrel|pavrel|nistrel) ;;
  *) echo "usage: $0 [tolvane|tamrel|pavrel|nistrel] [ARGUMENT...]" >&2; exit 2 ;;
esac
sh "$root/scripts/install-deps.sh"
. "$root/scripts/wine-env.sh"
wine_road_line
[ "$SUITE_WINE_ROAD" = win32 ] || sh "$root/scripts/build.sh" win32 programs
sh "$root/scripts/build.sh" "$SUITE_WINE_ROAD" programs
tree="$B/$SUITE_WINE_ROAD"
prefix="$tree/wineprefix"
sh "$root/scripts/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all HOME="$prefix/home"

# Whatever way this ends (the program closes, Ctrl+C), nothing stays behind.
cleanup() {
  trap - EXIT INT TERM
  wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && xvfb_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# Windows need a window manager only on a user's display.
managed=Y
if [ -z "$DISPLAY" ]; then
  . "$root/scripts/xvfb.sh"
  xvfb_start
  managed=N
  echo "No display: $program runs on the private display $DISPLAY, which nobody sees; to look at it, run" \
       "'DISPLAY=$DISPLAY sh scripts/screenshot.sh' in another shell (it writes build/screenshots/screen.png)." \
       "Close the program or press Ctrl+C to end both."
fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f >/dev/null 2>&1
# The settings tool finds its companions beside it.
dest="$tree/$program/wine-files"
mkdir -p "$dest"
if [ "$program" = tolvane ]; then
  for p in tamrel pavrel nistrel; do cp -f "$tree/$p/$p.exe" "$dest/"; done
fi
cd "$tree/$program"
sh "$root/scripts/wine-run.sh" "$tree/$program/$program.exe" "$@"
