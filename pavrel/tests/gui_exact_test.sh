#!/bin/sh
# The cleanup wizard under Wine removes exactly the ticked files it listed,
# whatever changed since the search. The prefix gets a drive D: that is a
# scratch tree made here: folders whose names end in a dot or a blank beside
# their plain twins, folders protected with a trailing backslash and another
# letter case. After the search the test, on the Linux side, swaps a listed
# folder for a symbolic link to a folder outside the drive and replaces a
# listed file by one whose name differs only in case; then it unticks one
# row, removes the others and compares the trees before and after: exactly
# the ticked rows that are still the files listed are gone.
# Usage: gui_exact_test.sh PAVREL_EXE
set -e
exe=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
d=$(cd "$(dirname "$exe")" && pwd)
while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
gui_tree=$d
work=$(mktemp -d)
export SUITE_WINEPREFIX=$work/prefix
drive=$work/drive
outside=$work/outside
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
. "$src/tests/gui/lib.sh"

# wait_for WHAT COMMAND...: up to 30 s until the command succeeds.
wait_for() {
  what=$1; shift
  i=0
  until "$@" >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt 60 ] || fail "waited in vain for $what"; sleep 0.5
  done
}
put() { mkdir -p "$(dirname "$1")"; printf '%s' "$2" >"$1"; }
# Every file of the drive and of the folder outside it, with its contents.
tree() {
  for top in "$drive" "$outside"; do
    (cd "$top" && find . -type f | sort | while read -r f; do printf '%s:%s: %s\n' "$top" "$f" "$(cat "$f")"; done)
  done
}

put "$drive/dd/same.bak" 'protected'       # D:\dd, protected as "D:\dd\"
put "$drive/dd./own.bak" 'dotted'
put "$drive/sp/y.bak" 'protected'          # D:\sp, protected as "d:\SP\"
put "$drive/sp /x.bak" 'blank'
put "$drive/sw/s.bak" 'listed'
put "$outside/s.bak" 'outside'
put "$drive/V.BAK" 'listed'
put "$drive/t.bak" 'unticked'
put "$drive/plain.bak" 'plain'
rm -f "$WINEPREFIX/dosdevices/d:"
ln -s "$drive" "$WINEPREFIX/dosdevices/d:"

win='Vennick ver6.01 for Windows'
export SUITE_LANG=en_US.UTF-8
start "$exe"
driver find "$win" >/dev/null || fail "no window $win"
entry=$(driver items "$win" cbDrive | grep '^D:') || fail "no D: in $(driver items "$win" cbDrive)"
driver select "$win" cbDrive "$entry" >/dev/null || fail "cannot choose $entry"
driver tab "$win" pcMain 1 >/dev/null || fail "no settings tab"
driver type "$win" edFolder1 'D:\dd\' >/dev/null || fail "cannot type the first folder"
driver type "$win" edFolder2 'd:\SP\' >/dev/null || fail "cannot type the second folder"
driver tab "$win" pcMain 0 >/dev/null || fail "no main tab"
driver click "$win" sbSearch >/dev/null
wait_for "the search" sh -c "sh '$src/scripts/wine-run.sh' '$driver_exe' text '$win' laResult | grep -q Total"
rows=$(driver rows "$win" lvFile)
printf '%s\n' "$rows" | sort >"$work/rows"
printf '%s\n' 'V.BAK	D:\	6' 'own.bak	D:\dd.\	6' 'plain.bak	D:\	5' 's.bak	D:\sw\	6' 't.bak	D:\	8' \
  'x.bak	D:\sp \	5' | sort >"$work/expected"
diff "$work/expected" "$work/rows" >&2 || fail "rows differ (expected, found above)"
# The folders in the list's order: the root, then "dd." before "sp " before "sw".
printf '%s\n' "$rows" | cut -f2 | uniq | tr '\n' '|' | grep -qx 'D:\\|D:\\dd\.\\|D:\\sp \\|D:\\sw\\|' ||
  fail "folder order: $(printf '%s\n' "$rows" | cut -f2 | uniq | tr '\n' '|')"

# Since the search: the listed folder sw is now a link out of the drive, and
# the listed V.BAK gave way to a v.bak.
rm -r "$drive/sw"
ln -s "$outside" "$drive/sw"
rm "$drive/V.BAK"
put "$drive/v.bak" 'twin'
tree | LC_ALL=C sort >"$work/before"

n=$(printf '%s\n' "$rows" | grep -n '^t\.bak' | cut -d: -f1)
driver check-item "$win" lvFile $((n - 1)) 0 >/dev/null || fail "cannot untick t.bak"
driver item-checked "$win" lvFile $((n - 1)) | grep -qx 0 || fail "t.bak is still ticked"
driver click "$win" sbDeleteFile >/dev/null
# The root's rows come first: V.BAK's message, then the one of the folder link.
said=$(driver message "") || fail "no message for V.BAK"
printf '%s' "$said" | grep -q 'V.BAK' && printf '%s' "$said" | grep -q 'was not found' || fail "first message: $said"
driver answer "" ok >/dev/null
said=$(driver message "") || fail "no message for the folder link"
printf '%s' "$said" | grep -q 'sw\\s.bak' && printf '%s' "$said" | grep -q 'is no longer the folder that was searched' ||
  fail "second message: $said"
driver answer "" ok >/dev/null
wait_for "the deletion" sh -c "sh '$src/scripts/wine-run.sh' '$driver_exe' text '$win' laResult | grep -q removed"
result=$(driver text "$win" laResult)
[ "$result" = "3 Files (0 (KB)) removed." ] || fail "removal text: $result"
[ "$(driver rows "$win" lvFile | cut -f1)" = t.bak ] || fail "rows after removal: $(driver rows "$win" lvFile)"

tree | LC_ALL=C sort >"$work/after"
gone=$(LC_ALL=C comm -23 "$work/before" "$work/after" | sed "s|^$work/||")
made=$(LC_ALL=C comm -13 "$work/before" "$work/after")
expected_gone=$(printf '%s\n' 'drive:./dd./own.bak: dotted' 'drive:./plain.bak: plain' 'drive:./sp /x.bak: blank' | LC_ALL=C sort)
[ "$gone" = "$expected_gone" ] || fail "gone from the trees: $gone"
[ -z "$made" ] || fail "changed in the trees: $made"
driver close "$win" >/dev/null
ended || fail "still running after close"
echo "pavrel removes exactly the listed files: ok"
