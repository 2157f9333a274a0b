#!/bin/sh
# Every built window on screen under Wine, in Japanese and in English: the
# settings tool on each page of tests/gui/pages.list, the folder-icon tool
# and the icon picker. Each is saved as a screenshot; on each, every group
# box's inside must be the face colour (a box painted black, or a caption
# of the previous page left inside it, fails) and every caption must fit its
# control in the control's font. A caption shown cut at a word, with its
# whole text as hint, fails unless its page's line of the list names it.
# Usage: screens_wine.sh TOLVANE.EXE TAMREL.EXE OUT-FOLDER [LOCALE...]
# (needs DISPLAY; without locales, ja_JP.UTF-8 and then en_US.UTF-8).
# SUITE_SCREENS_PART=1 checks only the first ten pages of the list, =2 the
# others, the tooltips and the folder-icon tool with its picker: two halves
# that run side by side.
set -e
tolvane=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
tamrel=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
out=$3
src=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUITE_WINEPREFIX="$work/prefix"
gui_tree=$(d=$(dirname "$tolvane"); while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done; echo "$d")
cd "$(dirname "$tolvane")"
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
export SUITE_SHUTDOWN_RECORD='C:\suite\bin\shutdown-record.txt'
# No first-run restore point: the window opens without the script's box.
wine reg add 'HKLM\Software\Tazet\Tolvane' /v RestorePointCreated /t REG_DWORD /d 1 /f >/dev/null 2>&1
ppm_win='C:\shot.ppm'
ppm="$WINEPREFIX/drive_c/shot.ppm"
failures=0
bad() { printf 'FAIL: %s\n' "$*"; failures=$((failures + 1)); }

# check WINDOW SCOPE SHOT ALLOWED-CUTS: the window's screenshot, its captions
# inside SCOPE (a sheet, or the window's name) and its group boxes' insides.
check() {
  win=$1 scope=$2 png=$3 allowed=$4
  shot "$win" "$png"
  # (the driver says what does not fit, and its status is 1 then)
  report=$(driver captions "$win" "$scope" || true)
  case "$report" in *driver:*) bad "$png: $report" ;; esac
  over=$(echo "$report" | grep '^over' | tr '\n' ';')
  [ -z "$over" ] || bad "$png: captions that do not fit: $over"
  for name in $(echo "$report" | sed -n 's/^cut //p'); do
    case " $allowed " in *" $name "*) echo "note: $png: $name shows its caption cut, the whole as hint" ;;
      *) bad "$png: $name's caption is cut although the page leaves room" ;; esac
  done
  convert "$png" "ppm:$ppm"
  result=$(driver face "$win" "$scope" "$ppm_win" || true)
  other=$(echo "$result" | grep -v ': 0 of [1-9][0-9]* pixels' || true)
  [ -z "$other" ] || bad "$png: a group box's inside is not the face colour: $(echo "$other" | tr '\n' ';')"
}

shift 3
[ $# -gt 0 ] || set -- ja_JP.UTF-8 en_US.UTF-8
for lang in "$@"; do
  export SUITE_LANG=$lang
  l=${lang%%_*}
  if [ "$l" = ja ]; then main="トルヴァネ ver6.01 for WindowsXP"; else main="Kelvorin ver6.01 for WindowsXP"; fi
  start "$tolvane"
  driver find "$main" || fail "no main window ($lang)"
  grep -v '^#' "$src/tests/gui/pages.list" | grep . > "$work/pages"
  n=0
  while read -r sheet rest; do
    [ -n "$sheet" ] || continue
    n=$((n + 1))
    case ${SUITE_SCREENS_PART:-} in 1) [ $n -le 10 ] || continue ;; 2) [ $n -gt 10 ] || continue ;; esac
    allowed=$(echo "$rest" | sed -n 's/.*cut:\([^ ]*\).*/\1/p' | tr ',' ' ')
    driver tab "$main" PageControl "$sheet" || fail "no tab $sheet"
    check "$main" "$sheet" "$out/$sheet-$l.png" "$allowed"
  done < "$work/pages"
  if [ "${SUITE_SCREENS_PART:-}" = 1 ]; then
    driver close "$main"
    ended || fail "the settings tool did not close ($lang)"
    continue
  fi
  # Three boxes of the context menu page show their English text as a
  # tooltip in both languages; the page's other controls show none.
  driver tab "$main" PageControl tsContextMenu || fail "no context menu tab ($lang)"
  [ "$(driver hint "$main" cbNewWindow)" = "Open another window on folder" ] || bad "cbNewWindow's tooltip ($l)"
  [ "$(driver hint "$main" cbNotepad)" = "Open Non-Associated files with the following application" ] || bad "cbNotepad's tooltip ($l)"
  [ "$(driver hint "$main" cbAllFileEditor)" = "When you right-click on all files, display above menu" ] ||
    bad "cbAllFileEditor's tooltip ($l)"
  [ -z "$(driver hint "$main" cbFolderIcon)" ] || bad "cbFolderIcon shows a tooltip ($l)"
  driver close "$main"
  ended || fail "the settings tool did not close ($lang)"

  # The folder-icon tool, and the icon picker that its picture opens.
  rm -rf "$WINEPREFIX/drive_c/screens"; mkdir -p "$WINEPREFIX/drive_c/screens/Photos"
  folder='C:\screens\Photos'
  start "$tamrel" "$folder"
  driver find "$folder" || fail "no folder-icon window ($lang)"
  check "$folder" foMain "$out/tamrel-$l.png" ""
  driver click "$folder" imFolder || fail "the folder's picture takes no click ($lang)"
  picker=tamrel  # the picker's caption is the application title: the program's name
  driver find "$picker" || fail "no icon picker ($lang)"
  check "$picker" foIconList "$out/picker-$l.png" ""
  driver click "$picker" buCancel
  driver gone "$picker" || fail "the picker stays"
  driver click "$folder" sbClose
  ended || fail "the folder-icon tool did not close ($lang)"
done
wineserver -k 2>/dev/null || true
[ "$failures" = 0 ] || { echo "FAIL: $failures screen checks"; exit 1; }
echo "PASS: every window on screen in $* ${SUITE_SCREENS_PART:+(part $SUITE_SCREENS_PART) }(screenshots in $out)"
