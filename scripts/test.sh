#!/bin/sh
# Installs what is missing, builds the native, sanitized and Windows trees,
# and runs every test: native ones directly, Windows ones under Wine in the
# Windows tree's private prefix, on a display of their own. The Windows tree
# is the one of the Wine road (wine-env.sh); the shipped 32-bit programs are
# built on either road.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
sh "$root/scripts/install-deps.sh"
. "$root/scripts/wine-env.sh"
wine_road_line
for t in native asan fuzz; do sh "$root/scripts/build.sh" $t; done
if [ "$SUITE_WINE_ROAD" = win64 ]; then
  sh "$root/scripts/build.sh" win32 programs
fi
sh "$root/scripts/build.sh" "$SUITE_WINE_ROAD"
sh "$root/scripts/wine-prefix.sh" "$B/$SUITE_WINE_ROAD/wineprefix"

. "$root/scripts/xvfb.sh"
xvfb_start
trap xvfb_stop EXIT INT TERM

status=0
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
for t in native asan "$SUITE_WINE_ROAD"; do
  echo "== tests: $t"
  (cd "$B/$t" && ctest -j "$(nproc)" --output-on-failure --timeout 600) || status=1
done
# Arbitrary settings files, for a bounded time (scripts/fuzz.sh runs longer).
sh "$root/scripts/fuzz.sh" 30 || status=1
wine_road_line
exit $status
