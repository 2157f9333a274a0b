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
# timed WHAT COMMAND...: runs the command; the log tells how long it took.
times=""
timed() {
  what=$1; shift
  t0=$(date +%s)
  "$@"; rc=$?
  times="$times$what: $(($(date +%s) - t0)) s
"
  return $rc
}
for t in native asan fuzz; do timed "build $t" sh "$root/scripts/build.sh" $t; done
if [ "$SUITE_WINE_ROAD" = win64 ]; then
  timed "build win32 programs" sh "$root/scripts/build.sh" win32 programs
fi
timed "build $SUITE_WINE_ROAD" sh "$root/scripts/build.sh" "$SUITE_WINE_ROAD"
# The shipped i686 programs against what Windows XP SP3 offers (read, not run).
gate=0
timed "xp gate" sh "$root/scripts/xp-gate.sh" || gate=1
timed "prefix" sh "$root/scripts/wine-prefix.sh" "$B/$SUITE_WINE_ROAD/wineprefix"

. "$root/scripts/xvfb.sh"
xvfb_start
trap xvfb_stop EXIT INT TERM

status=$gate
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
for t in native asan "$SUITE_WINE_ROAD"; do
  echo "== tests: $t"
  timed "tests $t" sh -c 'cd "$1" && ctest -j "$(nproc)" --output-on-failure --timeout 600' sh "$B/$t" || status=1
done
# Arbitrary settings files, for a bounded time (scripts/fuzz.sh runs longer).
timed "fuzz" sh "$root/scripts/fuzz.sh" 30 || status=1
printf '== times\n%s' "$times"
wine_road_line
exit $status
