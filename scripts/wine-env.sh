# Sourced by every script that runs a Windows program: chooses the Wine road
# once and says how to call Wine on it. Nothing else knows which road runs.
#   win32: the machine executes 32-bit programs: the i686 tree build/win32,
#          a 32-bit prefix, the 32-bit loader (what users install);
#   win64: it does not: the x86_64 tree build/win64, a 64-bit prefix, the
#          64-bit loader and server called directly (/usr/bin/wine prefers the
#          32-bit loader whenever it is installed, even where it cannot run).
# SUITE_WINE_ROAD=win32 or win64 forces a road. After sourcing: `wine` and
# `wineserver` run the road's Wine, and the road's build tree is
# build/$SUITE_WINE_ROAD.
if [ -z "$SUITE_WINE_ROAD" ]; then
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    SUITE_WINE_ROAD=win32
  else
    SUITE_WINE_ROAD=win64
  fi
fi
case "$SUITE_WINE_ROAD" in
  win32)
    WINELOADER=/usr/lib/wine/wine
    WINESERVER=/usr/lib/wine/wineserver64
    [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32
    ;;
  win64)
    WINELOADER=/usr/lib/wine/wine64
    WINESERVER=/usr/lib/wine/wineserver64
    ;;
  *) echo "SUITE_WINE_ROAD is win32 or win64, not '$SUITE_WINE_ROAD'" >&2; exit 2 ;;
esac
WINEARCH=$SUITE_WINE_ROAD
export SUITE_WINE_ROAD WINELOADER WINESERVER WINEARCH
wine() { "$WINELOADER" "$@"; }
wineserver() { "$WINESERVER" "$@"; }
# What the road is, in one line (CI's log names it).
wine_road_line() {
  case "$SUITE_WINE_ROAD" in
    win32) echo "Windows road: win32 (32-bit Wine, tree build/win32)" ;;
    win64) echo "Windows road: win64 (this machine does not execute 32-bit programs: 64-bit Wine, tree build/win64; the shipped programs are still built 32-bit in build/win32)" ;;
  esac
}
