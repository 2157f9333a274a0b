#!/bin/sh
# Boxes and progress forms as the screen shows them, under Wine: the settings
# tool's splash, the restore-point notice, the apply's
# progress form while the apply runs (its bar advancing), the log-off
# question and the close question; the folder-icon tool's notice; the
# cleanup wizard's search progress over a large scratch drive, its label and
# then its bar advancing while the search runs. For each, the driver takes
# pictures of the screen until the window is seen painted (not black inside,
# the text of its captions there) and fails when it never is; the pictures
# go to OUT as PNGs. The cleanup wizard's captions must fit its pages. Usage: paint_wine.sh TOLVANE TAMREL PAVREL OUT LOCALE
set -e
tolvane=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
tamrel=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
pavrel=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
out=$4
export SUITE_LANG=$5
l=${SUITE_LANG%%_*}
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
c="$WINEPREFIX/drive_c"
failures=0
bad() { printf 'FAIL: %s\n' "$*"; failures=$((failures + 1)); }

# seen NAME REPORT: the driver's report on a window's pictures, and the last
# picture as OUT/paint-NAME-LANG.png.
seen() {
  name=$1 report=$2
  echo "$name: $report" | tr '\n' ' '; echo
  case "$report" in *driver:*|"") bad "$name ($l): $report" ;; esac
  [ ! -f "$c/$name.ppm" ] || convert "$c/$name.ppm" "$out/paint-$name-$l.png"
}
# painted NAME WINDOW [CONTROL]: the window painted (and the control seen to change).
painted() { seen "$1" "$(driver painted "$2" 20 "C:\\$1.ppm" $3)"; }

if [ "$l" = ja ]; then
  main="トルヴァネ ver6.01 for WindowsXP" notice="トルヴァネ"
  pavrel_main='パヴレル ver6.01 for Windows' tamrel_notice="確認"
else
  main="Kelvorin ver6.01 for WindowsXP" notice="Kelvorin"
  pavrel_main='Vennick ver6.01 for Windows' tamrel_notice=""
fi

# The settings tool: started by the driver, which watches for its splash.
# (Wine maps a window some 100 ms before its first picture reaches the
# screen: the driver waits for it. The splash itself lasts a few tenths of a
# second, too short to be sure of two pictures of it on a busy machine: its
# bar is seen painted, the apply's and the search's bars are seen advancing.)
bin="$c/suite/bin"
mkdir -p "$bin"
cp -f "$tolvane" "$bin/"
[ -d "$(dirname "$tolvane")/wine-files" ] && cp -rf "$(dirname "$tolvane")/wine-files/." "$bin/"
# (the program keeps the driver's standard handles: they go to a file)
sh "$src/scripts/wine-run.sh" "$driver_exe" exec-painted 'C:\suite\bin\tolvane.exe' foOpening 20 'C:\splash.ppm' \
  >"$work/splash" 2>&1 || true
seen splash "$(tr -d '\r' <"$work/splash")"
driver find "$main" >/dev/null || fail "no main window ($l)"
# The first run's restore-point script reports in its box.
painted restore-point "$notice"
driver answer "$notice" ok >/dev/null
driver tab "$main" PageControl tsDesktop >/dev/null || fail "no desktop tab"
driver click "$main" cbNoActiveDesktop >/dev/null
# The apply's progress form shows only while the apply runs.
# (Seen painted; an apply of one box may end before its bar is seen to move.)
seen apply "$(driver press-painted "$main" sbPlay foChanging 30 'C:\apply.ppm')"
painted logoff ""
driver answer "" no >/dev/null
driver gone "" >/dev/null || fail "the log-off question stays"
driver click "$main" cbNoActiveDesktop >/dev/null
driver close "$main" >/dev/null
painted close ""
driver answer "" yes >/dev/null
ended || fail "the settings tool did not close ($l)"

# The folder-icon tool's notice on its standard button.
mkdir -p "$c/paint/Photos"
start "$tamrel" 'C:\paint\Photos'
driver find 'C:\paint\Photos' >/dev/null || fail "no folder-icon window ($l)"
driver click 'C:\paint\Photos' sbStandard >/dev/null
painted tamrel-notice "$tamrel_notice"
driver answer "$tamrel_notice" ok >/dev/null
driver click 'C:\paint\Photos' sbClose >/dev/null
ended || fail "the folder-icon tool did not close ($l)"

# The search over a drive of 9,000 folders: its progress form while the
# folders are walked (the label changes), then while their files are looked
# at (the bar moves).
drive="$work/drive"
mkdir -p "$drive"
# (by one mkdir and one touch: a program start each folder would cost more
# than the search)
(cd "$drive" &&
  awk 'BEGIN { for (a = 0; a < 30; a++) for (b = 0; b < 30; b++) for (c = 0; c < 10; c++) print "a" a "/b" b "/c" c }' |
    xargs mkdir -p &&
  awk 'BEGIN { for (a = 0; a < 30; a++) for (b = 0; b < 30; b++) print "a" a "/b" b "/x.bak" }' | xargs touch)
ln -s "$drive" "$WINEPREFIX/dosdevices/d:"
start "$pavrel"
driver find "$pavrel_main" >/dev/null || fail "no cleanup window ($l)"
entry=$(driver items "$pavrel_main" cbDrive | grep '^D:') || fail "no drive D: ($l)"
driver select "$pavrel_main" cbDrive "$entry" >/dev/null
seen search-walk "$(driver press-painted "$pavrel_main" sbSearch foProgress 30 'C:\search-walk.ppm' laProgress)"
# The file pass is watched while it still runs (it may end first on a fast machine).
files=$(driver painted foProgress 60 'C:\search-files.ppm' ProgressBar 2>&1 || true)
case "$files" in *'no window "foProgress"'*) ;; *) seen search-files "$files" ;; esac
driver gone foProgress >/dev/null || driver gone foProgress >/dev/null || driver gone foProgress >/dev/null ||
  fail "the search did not end ($l)"
case "$(driver text "$pavrel_main" laResult)" in *900*) ;; *) bad "search result: $(driver text "$pavrel_main" laResult)" ;; esac
# Its two pages' captions fit, as the screen test checks the settings tool's.
for sheet in tsMain tsSetting; do
  driver tab "$pavrel_main" pcMain $sheet >/dev/null || fail "no page $sheet ($l)"
  i=0
  until [ "$(driver visible "$pavrel_main" $sheet)" = 1 ]; do
    i=$((i + 1)); [ $i -lt 30 ] || fail "page $sheet not shown ($l)"
  done
  report=$(driver captions "$pavrel_main" $sheet)
  case "$report" in *over*|*cut*|*driver:*) bad "pavrel $sheet ($l): $(echo "$report" | tr '\n' ';')" ;; esac
  shot "$pavrel_main" "$out/paint-pavrel-$sheet-$l.png"
done
driver close "$pavrel_main" >/dev/null
ended || fail "the cleanup wizard did not close ($l)"

wineserver -k 2>/dev/null || true
[ "$failures" = 0 ] || { echo "FAIL: $failures windows not seen painted ($l)"; exit 1; }
echo "PASS: every box and progress form seen painted ($l; pictures in $out)"
