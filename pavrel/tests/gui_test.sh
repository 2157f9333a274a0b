#!/bin/sh
# pavrel.exe on screen under Wine (needs DISPLAY), driven through the GUI
# test driver. The prefix gets a drive D: that is a scratch tree made here
# (.BAK, .TMP and ~ files, a DESKTOP.INI, a read-only file, nested folders);
# the test searches that drive alone, checks the rows and their sizes,
# unticks one row, removes the others (answering the read-only question) and
# checks on the Linux side that exactly those files went; then it closes the
# window and reads the settings back with Wine's reg query. Screenshots of
# both pages in both languages. Usage: gui_test.sh PAVREL_EXE SHOT_DIR
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
mkdir -p "$shots"

drive="$gui_tree/pavrel/tests/gui-drive"
key='HKLM\Software\Tazet\pavrel'
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -f "$WINEPREFIX/dosdevices/d:"
  chmod -R u+w "$drive" 2>/dev/null || true
  rm -rf "$drive" "$work"
}
trap cleanup EXIT

rm -rf "$drive"
put() { mkdir -p "$(dirname "$drive/$1")"; head -c "$2" /dev/zero >"$drive/$1"; }
put a.bak 100; put b.TMP 2000; put '~c.doc' 30; put DESKTOP.INI 10; put keep.txt 5; put data.bak 8
put ro.bak 50; put 'sub/y.$$$' 7; put sub/notes.doc 9; put sub/deeper/x.old 5; put sub/deeper/e.ini 12
put sub/deeper/mscreate.dir 3
chmod a-w "$drive/ro.bak"
rm -f "$WINEPREFIX/dosdevices/d:"
ln -s "$drive" "$WINEPREFIX/dosdevices/d:"
wine reg delete "$key" /f >/dev/null 2>&1 || true

ja='パヴレル ver6.01 for Windows'
en='Vennick ver6.01 for Windows'
open() { start "$exe"; win=$1; driver find "$win" >/dev/null || fail "no window $win"; }

export SUITE_LANG=ja_JP.UTF-8
open "$ja"
shot "$win" "$shots/pavrel-ja.png"
driver tab "$win" pcMain 1 >/dev/null || fail "no settings tab"
shot "$win" "$shots/pavrel-setting-ja.png"
driver close "$win" >/dev/null
ended || fail "still running after close"

export SUITE_LANG=en_US.UTF-8
open "$en"
entry=$(driver items "$win" cbDrive | grep '^D:') || fail "no D: in $(driver items "$win" cbDrive)"
driver items "$win" cbDrive | head -n1 | grep -q '^All Local Drive ( C: D: )$' || fail "entry 0: $(driver items "$win" cbDrive)"
driver select "$win" cbDrive "$entry" >/dev/null || fail "cannot choose $entry"
driver tab "$win" pcMain 1 >/dev/null || fail "no settings tab"
driver type "$win" edExt1 ini >/dev/null || fail "cannot type the extension"
driver tab "$win" pcMain 0 >/dev/null || fail "no main tab"
driver click "$win" sbSearch >/dev/null
await "the search" sh -c "sh '$src/scripts/wine-run.sh' '$driver_exe' text '$en' laResult | grep -q Total"
result=$(driver text "$win" laResult)
[ "$result" = "Total:7 files, 2(KB)" ] || fail "totals: $result"
rows=$(driver rows "$win" lvFile)
printf '%s\n' "$rows" | sort >"$drive.rows"
printf '%s\n' 'a.bak	D:\	100' 'b.TMP	D:\	2000' 'e.ini	D:\sub\deeper\	12' 'ro.bak	D:\	50' 'x.old	D:\sub\deeper\	5' \
  'y.$$$	D:\sub\	7' '~c.doc	D:\	30' | sort >"$drive.expected"
diff "$drive.expected" "$drive.rows" >&2 || fail "rows differ (expected, found above)"
# Folders in sorted order: the root's rows first, the deepest folder last.
printf '%s\n' "$rows" | cut -f2 | uniq | tr '\n' ' ' | grep -q '^D:\\ D:\\sub\\ D:\\sub\\deeper\\ $' || fail "folder order: $rows"
driver enabled "$win" sbDeleteFile | grep -q 1 || fail "Remove is not enabled"
shot "$win" "$shots/pavrel-en.png"

n=$(printf '%s\n' "$rows" | grep -n '^a\.bak' | cut -d: -f1)
driver check-item "$win" lvFile $((n - 1)) 0 >/dev/null
driver click "$win" sbDeleteFile >/dev/null
driver message Warning | grep -q 'ro.bak is read only' || fail "no read-only question"
driver answer Warning yes >/dev/null
await "the deletion" sh -c "sh '$src/scripts/wine-run.sh' '$driver_exe' text '$en' laResult | grep -q removed"
result=$(driver text "$win" laResult)
[ "$result" = "6 Files (2 (KB)) removed." ] || fail "removal text: $result"
left=$(cd "$drive" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./DESKTOP.INI ./a.bak ./data.bak ./keep.txt ./sub/deeper/mscreate.dir ./sub/notes.doc " ] ||
  fail "left on the drive: $left"
[ "$(driver rows "$win" lvFile | cut -f1)" = a.bak ] || fail "rows after removal: $(driver rows "$win" lvFile)"
driver tab "$win" pcMain 1 >/dev/null
shot "$win" "$shots/pavrel-setting-en.png"
driver close "$win" >/dev/null
ended || fail "still running after close"

out=$(regq "$key")
for want in 'BackupFile *REG_DWORD *0x1' 'ClusterFile *REG_DWORD *0x0' 'Ext1 *REG_SZ *ini' \
  'DefaultDriveIndex *REG_DWORD *0x2' 'AutoRun *REG_DWORD *0x0' 'Folder1 *REG_SZ'; do
  echo "$out" | grep -q "$want" || fail "registry lacks $want: $out"
done
wine reg delete "$key" /f >/dev/null 2>&1 || true
echo "pavrel on screen: ok (screenshots in $shots)"
