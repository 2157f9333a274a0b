#!/bin/sh
# Opens the icon picker on the fixture library through the test window,
# double-clicks icon 2 with the driver and checks the held location and
# IconDir; saves screenshots of the picker in Japanese and in English.
# Usage: picker_gui_test.sh SOURCE_DIR PICKER_DEMO_EXE
set -e
src=$1; exe=$2
bin=$(dirname "$exe")
export SUITE_BUILD=${SUITE_BUILD:-$(cd "$bin/../../.." && pwd)}
shots="$(cd "$bin/../.." && pwd)/screenshots"
mkdir -p "$shots"
if [ -z "$DISPLAY" ]; then . "$src/scripts/xvfb.sh"; xvfb_start; trap xvfb_stop EXIT; fi
driver() { sh "$src/scripts/wine-run.sh" "$bin/wine-files/driver.exe" "$@" | tr -d '\r'; }
fixture='C:\suite\bin\fixture_icons.dll'

run() {  # LANG SHOT
  SUITE_LANG=$1 sh "$src/scripts/wine-run.sh" "$exe" "$fixture,0" &
  pid=$!
  driver find "Picker Test"
  driver click "Picker Test" "SuiteImage#1"
  driver find "Pick an icon"
  sleep 1
  sh "$src/scripts/screenshot.sh" "Pick an icon" "$shots/$2.png"
  driver dblclick-item "Pick an icon" "SysListView32#1" 2
  sleep 1
  held=$(driver text "Picker Test" "Static#1")
  dir=$(driver text "Picker Test" "Static#2")
  driver close "Picker Test"
  wait $pid || true
  [ "$held" = "$fixture,2" ] || { echo "held location: '$held'"; exit 1; }
  [ "$dir" = 'C:\suite\bin' ] || { echo "IconDir: '$dir'"; exit 1; }
}

run ja_JP.UTF-8 picker_ja
run en_US.UTF-8 picker_en
echo "picker: held location and IconDir as chosen; screenshots in $shots"
