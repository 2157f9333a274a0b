#!/bin/sh
# Installs what is missing, builds the Windows programs and starts the
# settings tool under Wine in the private prefix (on a private display when
# there is none).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
sh "$root/scripts/install-deps.sh"
sh "$root/scripts/build.sh" win32
if [ -z "$DISPLAY" ]; then
  . "$root/scripts/xvfb.sh"
  xvfb_start
  echo "No display: the settings tool runs on the private display $DISPLAY."
fi
# The settings tool finds its companions beside it.
dest="$B/win32/tolvane/wine-files"
mkdir -p "$dest"
for p in tamrel pavrel nistrel; do cp -f "$B/win32/$p/$p.exe" "$dest/"; done
cd "$B/win32/tolvane"
exec sh "$root/scripts/wine-run.sh" "$B/win32/tolvane/tolvane.exe"
