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
id=""
i=0
while [ -z "$id" ] && [ $i -lt 50 ]; do
  id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
  [ -n "$id" ] || { sleep 0.2; i=$((i + 1)); }
done
[ -n "$id" ] || { printf 'screenshot: no window "%s"\n' "$caption" >&2; exit 1; }
tmp=$(mktemp --suffix=.xwd)
xwd -silent -id "$id" -out "$tmp"
convert "xwd:$tmp" "$out"
rm -f "$tmp"
printf '%s\n' "$out"
