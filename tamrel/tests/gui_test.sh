#!/bin/sh
# tamrel.exe on screen under Wine (needs DISPLAY, xdotool and ImageMagick's
# import): its window in both languages saved as screenshots, Apply on a
# folder of a temporary tree inside the prefix, Apply on the drive root read
# back with Wine's reg query. Usage: gui_test.sh TAMREL_EXE SHOT_DIR
set -e
exe=$1; shots=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
run="sh $here/scripts/wine-run.sh"
d=$(cd "$(dirname "$exe")" && pwd)
while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
prefix=${SUITE_WINEPREFIX:-$d/wineprefix}
sh "$here/scripts/wine-prefix.sh" "$prefix"
export SUITE_WINEPREFIX="$prefix"
mkdir -p "$shots"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts tamrel on a target, waits for its window (named after the target), sets $win.
start() {
  $run "$exe" "$1" >/dev/null 2>&1 &
  pid=$!
  i=0; win=""
  while [ -z "$win" ] && [ $i -lt 60 ]; do
    sleep 0.5; i=$((i + 1))
    win=$(xdotool search --onlyvisible --name "^$(printf '%s' "$1" | sed 's/\\/\\\\/g')\$" 2>/dev/null | head -n1 || true)
  done
  [ -n "$win" ] || fail "no window for $1"
  sleep 1
}
# Clicks at a point of the window's client area and waits for the program to end.
click_and_wait() {
  xdotool mousemove --window "$win" "$1" "$2" click 1
  i=0
  while kill -0 "$pid" 2>/dev/null && [ $i -lt 60 ]; do sleep 0.5; i=$((i + 1)); done
  kill -0 "$pid" 2>/dev/null && fail "still running after the click"
  wait "$pid" || true
}
apply_x=193; apply_y=22; close_x=193; close_y=94

tree="$prefix/drive_c/tamrel-gui"
rm -rf "$tree"; mkdir -p "$tree/Photos"
for lang in ja_JP.UTF-8 en_US.UTF-8; do
  export SUITE_LANG=$lang
  start 'C:\tamrel-gui\Photos'
  import -window "$win" "$shots/tamrel-${lang%%.*}.png"
  click_and_wait $close_x $close_y
done
[ -e "$tree/Photos/Desktop.ini" ] && fail "Close wrote a Desktop.ini"

export SUITE_LANG=ja_JP.UTF-8
start 'C:\tamrel-gui\Photos'
click_and_wait $apply_x $apply_y
ini="$tree/Photos/Desktop.ini"
[ -f "$ini" ] || fail "Apply wrote no Desktop.ini"
grep -qi '^IconFile=.*shell32\.dll' "$ini" || fail "IconFile: $(cat "$ini")"
grep -q '^IconIndex=3' "$ini" || fail "IconIndex: $(cat "$ini")"
attrib=$(WINEPREFIX="$prefix" WINEDEBUG=-all wine cmd /c attrib 'C:\tamrel-gui\Photos\Desktop.ini' 2>/dev/null | tr -d '\r')
echo "$attrib" | sed 's/C:.*//' | grep -q H || fail "Desktop.ini not hidden: $attrib"

key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer\DriveIcons\C\DefaultIcon'
WINEPREFIX="$prefix" WINEDEBUG=-all wine reg delete "$key" /f >/dev/null 2>&1 || true
start 'C:\'
click_and_wait $apply_x $apply_y
out=$(WINEPREFIX="$prefix" WINEDEBUG=-all wine reg query "$key" /ve 2>/dev/null | tr -d '\r')
echo "$out" | grep -qi 'shell32\.dll,8' || fail "DriveIcons: $out"
WINEPREFIX="$prefix" WINEDEBUG=-all wine reg delete "$key" /f >/dev/null 2>&1 || true
rm -rf "$tree"
echo "tamrel on screen: ok (screenshots in $shots)"
