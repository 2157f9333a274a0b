#!/bin/sh
# Installs what is missing, builds the native, sanitized and Windows trees,
# and runs every test: native ones directly, Windows ones under Wine in the
# Windows tree's private prefix, on a display of their own.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
sh "$root/scripts/install-deps.sh"
for t in native asan win32; do sh "$root/scripts/build.sh" $t; done
sh "$root/scripts/wine-prefix.sh" "$B/win32/wineprefix"

. "$root/scripts/xvfb.sh"
xvfb_start
trap xvfb_stop EXIT

status=0
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
for t in native asan win32; do
  echo "== tests: $t"
  (cd "$B/$t" && ctest -j "$(nproc)" --output-on-failure --timeout 600) || status=1
done
exit $status
