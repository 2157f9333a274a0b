#!/bin/sh
# The icon pages under Wine, driven through the real windows. My Computer's
# icon, prepared in the fixture library, is picked anew in the icon picker
# (icon 2) and applied: Wine's registry then holds it at the class's
# DefaultIcon. "Hide shortcut icon" ticked and applied points Shell Icons 29
# at the transparent icon beside the program and rebuilds the icon cache
# (the cache file is gone, "Shell Icon Size" is written back). In English
# the box reads back ticked. Screenshots of both icon pages and the desktop
# page in Japanese and English go to OUT.
# Usage: icons_wine.sh TOLVANE.EXE OUT-FOLDER  (needs DISPLAY)
set -e
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$(mkdir -p "$2" && cd "$2" && pwd)
src=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUITE_WINEPREFIX="$work/prefix"
cd "$(dirname "$exe")"
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
export SUITE_SHUTDOWN_RECORD='C:\suite\bin\shutdown-record.txt'
bin="$WINEPREFIX/drive_c/suite/bin"

# The fixture library of three icons, as My Computer's icon; no restore point.
mkdir -p "$WINEPREFIX/drive_c/suite/fixture"
cp -f "$gui_tree/tests/gui/wine-files/fixture_icons.dll" "$WINEPREFIX/drive_c/suite/fixture/"
fixture='C:\suite\fixture\fixture_icons.dll'
computer='HKCR\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\DefaultIcon'
wine reg add "$computer" /ve /t REG_SZ /d "$fixture,0" /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Tazet\Tolvane' /v RestorePointCreated /t REG_DWORD /d 1 /f >/dev/null 2>&1
shellIcons='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer\Shell Icons'
metrics='HKCU\Control Panel\desktop\windowmetrics'

# value KEY ARG...: the data that Wine's reg query shows.
value() { k=$1; shift; regq "$k" "$@" | sed -n 's/^ .*  *REG_[A-Z_]*  *//p' | tail -1; }
page() { driver tab "$main" PageControl "$1" || fail "no tab $1"; shot "$main" "$out/$2.png"; }
# apply: Apply, and no question (nothing of the log-off class changed).
apply() {
  driver click "$main" sbPlay
  applied
}

main="トルヴァネ ver6.01 for WindowsXP"
start "$exe"
driver find "$main" || fail "no main window"
[ -f "$bin/transparency.ico" ] || fail "the transparent icon is not beside the program"
# Image 0 shows nothing (ImageMagick reads it, where it is installed).
if command -v convert >/dev/null 2>&1; then
  [ "$(convert "$bin/transparency.ico[0]" -format '%[fx:maxima.a]' info:)" = 0 ] ||
    fail "transparency.ico is not transparent"
fi
page "アイコン (2)" icon2-ja
page "アイコン (1)" icon1-ja
driver click "$main" imMyComputer
picker="マイ コンピュータ"
driver find "$picker" || fail "no icon picker"
[ "$(driver text "$picker" txIconName)" = "$fixture" ] || fail "the picker does not show the fixture"
driver dblclick-item "$picker" lvIcon 2
driver gone "$picker" || fail "the picker stays"
[ "$(driver enabled "$main" sbPlay 1)" = 1 ] || fail "Apply is not enabled by the pick"
apply
[ "$(value "$computer" /ve)" = "$fixture,2" ] || fail "My Computer's icon: $(regq "$computer" /ve)"

# The arrow hidden: the cache file goes and the icon size is written back.
printf cache >"$WINEPREFIX/drive_c/windows/ShellIconCache"
wine reg delete "$metrics" /v "Shell Icon Size" /f >/dev/null 2>&1 || true
page "デスクトップ" desktop-ja
[ "$(driver checked "$main" cbIsShortcut)" = 0 ] || fail "the arrow reads hidden"
driver click "$main" cbIsShortcut
apply
[ "$(value "$shellIcons" /v 29)" = 'C:\suite\bin\transparency.ico,0' ] ||
  fail "Shell Icons 29: $(regq "$shellIcons" /v 29)"
[ ! -e "$WINEPREFIX/drive_c/windows/ShellIconCache" ] || fail "the icon cache file stays"
[ "$(value "$metrics" /v "Shell Icon Size")" = 32 ] || fail "Shell Icon Size: $(regq "$metrics")"
[ ! -e "$bin/shutdown-record.txt" ] || fail "the session was ended"
driver click "$main" sbStop
ended || fail "the window did not close"

# English: the box and the pick read back.
main="Kelvorin ver6.01 for WindowsXP"
SUITE_LANG=en_US.UTF-8 start "$exe"
driver find "$main" || fail "no English main window"
page "Icon-2" icon2-en
page "Icon-1" icon1-en
page "Desktop" desktop-en
[ "$(driver checked "$main" cbIsShortcut)" = 1 ] || fail "the arrow does not read hidden"
driver click "$main" sbStop
ended || fail "the English window did not close"
wineserver -k 2>/dev/null || true
echo "PASS: icon pages under Wine"
