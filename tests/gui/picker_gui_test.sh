#!/bin/sh
# Opens the icon picker on the fixture library through the test window,
# double-clicks icon 2 with the driver and checks the held location and
# IconDir; saves screenshots of the picker in Japanese and in English.
# Usage: picker_gui_test.sh SOURCE_DIR PICKER_DEMO_EXE
set -e
src=$1; exe=$2
bin=$(dirname "$exe")
gui_tree=$(cd "$bin/../.." && pwd)
# A prefix of its own: the English run changes the prefix's system face.
work=$(mktemp -d)
export SUITE_WINEPREFIX=${SUITE_WINEPREFIX:-$work/prefix}
shots="$gui_tree/screenshots"
mkdir -p "$shots"
own_x=""
if [ -z "$DISPLAY" ]; then . "$src/scripts/xvfb.sh"; xvfb_start; own_x=1; fi
ends='rm -rf "$work"; [ -z "$own_x" ] || xvfb_stop'
trap "$ends" EXIT
. "$src/tests/gui/lib.sh"
on_exit "$ends"
fixture='C:\suite\bin\fixture_icons.dll'

run() {  # LANG SHOT
  SUITE_LANG=$1 start "$exe" "$fixture,0"
  driver find "Picker Test" || fail "no test window"
  driver click "Picker Test" imIcon || fail "the test window's picture takes no click"
  driver find "Pick an icon" || fail "no picker"
  shot "Pick an icon" "$shots/$2.png"
  driver dblclick-item "Pick an icon" lvIcon 2 || fail "icon 2 takes no double click"
  driver gone "Pick an icon" || fail "the picker stays after the double click"
  held=$(driver text "Picker Test" laHeld "$fixture,2")
  dir=$(driver text "Picker Test" laIconDir)
  driver close "Picker Test"
  ended || fail "the test window did not close"
  [ "$held" = "$fixture,2" ] || fail "held location: '$held'"
  [ "$dir" = 'C:\suite\bin' ] || fail "IconDir: '$dir'"
}

run ja_JP.UTF-8 picker_ja
run en_US.UTF-8 picker_en
echo "picker: held location and IconDir as chosen; screenshots in $shots"
