#!/bin/sh
# Saves a PNG of the top-level window with the given caption (on $DISPLAY),
# or of the whole screen without one.
# Usage: screenshot.sh [CAPTION [OUT.png]]; default
# $SUITE_BUILD/screenshots/CAPTION.png, or .../screen.png for the screen.
set -e
caption=$1
root=$(cd "$(dirname "$0")/.." && pwd)
[ -n "$DISPLAY" ] || { echo "screenshot: no DISPLAY (the run command prints the one it uses)" >&2; exit 2; }
if [ -z "$caption" ]; then
  out=${2:-${SUITE_BUILD:-$root/build}/screenshots/screen.png}
  mkdir -p "$(dirname "$out")"
  import -window root "$out"
  printf '%s\n' "$out"
  exit 0
fi
out=${2:-${SUITE_BUILD:-$root/build}/screenshots/$(printf '%s' "$caption" | tr -c 'A-Za-z0-9._-' '_').png}
mkdir -p "$(dirname "$out")"
# xdotool matches a regular expression: the caption's own characters are escaped.
pattern="^$(printf '%s' "$caption" | sed 's/[][\\.*^$(){}+?|]/\\&/g')\$"
# The window, once shown (within SUITE_GUI_WAIT seconds, 60), taken until two
# pictures in a row agree: the last paint has reached the screen.
id=""
i=0
limit=$((${SUITE_GUI_WAIT:-60} * 10))
while [ -z "$id" ] && [ $i -lt $limit ]; do
  id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
  [ -n "$id" ] || { sleep 0.1; i=$((i + 1)); }
done
[ -n "$id" ] || { printf 'screenshot: no window "%s" shown in %s s\n' "$caption" "${SUITE_GUI_WAIT:-60}" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
xwd -silent -id "$id" -out "$tmp/a.xwd" || { printf 'screenshot: window "%s" went\n' "$caption" >&2; exit 1; }
i=0
while :; do
  xwd -silent -id "$id" -out "$tmp/b.xwd" || { printf 'screenshot: window "%s" went\n' "$caption" >&2; exit 1; }
  cmp -s "$tmp/a.xwd" "$tmp/b.xwd" && break
  mv "$tmp/b.xwd" "$tmp/a.xwd"
  i=$((i + 1))
  [ $i -lt $limit ] || { printf 'screenshot: window "%s" never stands still\n' "$caption" >&2; exit 1; }
done
convert "xwd:$tmp/b.xwd" "$out"
printf '%s\n' "$out"
