#!/bin/sh
# Installs what is missing, builds the Windows programs and starts one of
# them under Wine in the private prefix (on a private display when there is
# none). Usage: run.sh [tolvane|tamrel|pavrel|nistrel] [ARGUMENT...]
#   sh scripts/run.sh                     the settings tool
#   sh scripts/run.sh tamrel 'C:\windows' the folder-icon tool on a folder
#   sh scripts/run.sh pavrel              the cleanup wizard
#   sh scripts/run.sh nistrel             the installer in the distribution folder
#   sh scripts/run.sh nistrel /U          the installed copy's uninstall
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
export LANG=${SUITE_LANG:-ja_JP.UTF-8} LC_ALL=${SUITE_LANG:-ja_JP.UTF-8}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
dist="$tree/distribution"
if [ "$program" != nistrel ]; then
  # Each program among every file users get beside it (the settings tool
  # finds its companions, scripts, help files and icon there).
  bin="$prefix/drive_c/suite/bin"
  mkdir -p "$bin"
  cp -rf "$dist/." "$bin/"
  cd "$bin"
  "$WINELOADER" "C:\\suite\\bin\\$program.exe" "$@"
  exit
fi
case "$1" in
  /[Uu]*)
    # The uninstall, as Add or Remove Programs starts it: the installed copy.
    dir=$(wine reg query 'HKLM\Software\Tazet\Tolvane' /v InstalledDir 2>/dev/null | tr -d '\r' |
          sed -n 's/^ *InstalledDir *REG_SZ *//p')
    [ -n "$dir" ] || { echo "run: the suite is not installed in this prefix: 'sh scripts/run.sh nistrel' installs it" >&2; exit 1; }
    cd "$(wine winepath -u "$dir" 2>/dev/null | tr -d '\r')"
    "$WINELOADER" "$dir\\NISTREL.EXE" "$@"
    ;;
  *)
    # The installer in the distribution folder, unpacked into the prefix as
    # users unpack the zip.
    version=$(sed -n 's/^set(SUITE_VERSION \(.*\))$/\1/p' "$root/cmake/SuiteDistribution.cmake")
    setup="$prefix/drive_c/Tolvane-$version"
    rm -rf "$setup"
    mkdir -p "$setup"
    cp -r "$dist/." "$setup/"
    cd "$setup"
    "$WINELOADER" "C:\\Tolvane-$version\\nistrel.exe" "$@"
    ;;
esac
