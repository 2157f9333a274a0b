#!/bin/sh
# tamrel.exe on screen under Wine (needs DISPLAY), driven through the GUI
# test driver: its window in both languages saved as screenshots, Apply on a
# folder of a temporary tree inside the prefix, Apply on the drive root read
# back with Wine's reg query. Usage: gui_test.sh TAMREL_EXE SHOT_DIR
set -e
exe=$1; shots=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
d=$(cd "$(dirname "$exe")" && pwd)
while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
gui_tree=$d
# A prefix of its own: the English run changes the prefix's system face.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUITE_WINEPREFIX=${SUITE_WINEPREFIX:-$work/prefix}
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
mkdir -p "$shots"

# tamrel's window is named after its target.
open() { start "$exe" "$1"; win=$1; driver find "$win" || fail "no window for $1"; }
press() { driver click "$win" "$1"; ended || fail "still running after $1"; }

tree="$WINEPREFIX/drive_c/tamrel-gui"
rm -rf "$tree"; mkdir -p "$tree/Photos"
for lang in ja_JP.UTF-8 en_US.UTF-8; do
  export SUITE_LANG=$lang
  open 'C:\tamrel-gui\Photos'
  shot "$win" "$shots/tamrel-${lang%%.*}.png"
  press sbClose
done
[ -e "$tree/Photos/Desktop.ini" ] && fail "Close wrote a Desktop.ini"

export SUITE_LANG=ja_JP.UTF-8
open 'C:\tamrel-gui\Photos'
press sbOK
ini="$tree/Photos/Desktop.ini"
[ -f "$ini" ] || fail "Apply wrote no Desktop.ini"
grep -qi '^IconFile=.*shell32\.dll' "$ini" || fail "IconFile: $(cat "$ini")"
grep -q '^IconIndex=3' "$ini" || fail "IconIndex: $(cat "$ini")"
attrib=$(wine cmd /c attrib 'C:\tamrel-gui\Photos\Desktop.ini' 2>/dev/null | tr -d '\r')
echo "$attrib" | sed 's/C:.*//' | grep -q H || fail "Desktop.ini not hidden: $attrib"

key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer\DriveIcons\C\DefaultIcon'
wine reg delete "$key" /f >/dev/null 2>&1 || true
open 'C:\'
press sbOK
out=$(regq "$key" /ve)
echo "$out" | grep -qi 'shell32\.dll,8' || fail "DriveIcons: $out"
wine reg delete "$key" /f >/dev/null 2>&1 || true
rm -rf "$tree"
echo "tamrel on screen: ok (screenshots in $shots)"
