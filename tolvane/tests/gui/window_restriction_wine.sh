#!/bin/sh
# The window, start panel and restriction pages under Wine, driven through
# the real windows. In Japanese the restriction box is ticked, three
# programs are added through the open dialog and one is deleted again; the
# apply (log-off question answered No) leaves the RestrictRun value and the
# list key with the settings tool, the registry editor and the two programs.
# In English the list reads back without the two always allowed, and the
# menu that opens only on a click is applied as "65535", with a lock
# password set through the restriction page's button. Screenshots of the
# three pages in Japanese and English go to OUT.
# Usage: window_restriction_wine.sh TOLVANE.EXE OUT-FOLDER  (needs DISPLAY)
set -e
tolvane=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$(mkdir -p "$2" && cd "$2" && pwd)
src=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUITE_WINEPREFIX="$work/prefix"
cd "$(dirname "$tolvane")"
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
export SUITE_SHUTDOWN_RECORD='C:\suite\shutdown-record.txt'

# The installer's layout, and three programs to pick.
folder='C:\Program Files\Tolvane'
install="$WINEPREFIX/drive_c/Program Files/Tolvane"
mkdir -p "$install" "$WINEPREFIX/drive_c/tools"
cp -f "$tolvane" "$install/"
[ -d "$(dirname "$tolvane")/wine-files" ] && cp -rf "$(dirname "$tolvane")/wine-files/." "$install/"
for p in Editor.exe scratch.exe viewer.exe; do cp -f "$tolvane" "$WINEPREFIX/drive_c/tools/$p"; done
wine reg add 'HKLM\Software\Tazet\Tolvane' /v RestorePointCreated /t REG_DWORD /d 1 /f >/dev/null 2>&1

policies='HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer'
launch() { sh "$src/scripts/wine-run.sh" "$driver_exe" exec "$1" </dev/null >/dev/null 2>&1; }
run() { launch "\"$folder\\tolvane.exe\"" || fail "cannot start the settings tool"; driver find "$main" || fail "no main window"; }
page() { driver tab "$main" PageControl "$1" || fail "no tab $1"; shot "$main" "$out/$2.png"; }
close() { driver click "$main" sbStop; driver gone "$main" || fail "the window did not close"; }
# apply: Apply, the log-off question answered No.
apply() {
  driver click "$main" sbPlay
  driver message "" | grep -q 'Logoff' || fail "no log-off question"
  driver answer "" no
  driver gone "" || fail "the question stays"
  applied
}
# add FILE: a program through the Add button and the open dialog.
add() {
  driver click "$main" buRestrictRunAdd
  driver type "$open" Edit#1 "$1" || fail "no file name field in the open dialog"
  driver answer "$open" ok
  driver gone "$open" || fail "the open dialog stays"
}

main="トルヴァネ ver6.01 for WindowsXP"
open="開く"
run
# The pages in tab order: a later page shown before an earlier one leaves
# its pixels inside the earlier page's group boxes (the renderer shows the
# new sheet before it hides the old one).
page "ウィンドウ" window-ja
page "制限" restriction-ja
[ "$(driver enabled "$main" buRestrictRunAdd)" = 0 ] || fail "Add is enabled while the box is unticked"
driver click "$main" cbRestrictRun
[ "$(driver enabled "$main" buRestrictRunAdd)" = 1 ] || fail "Add is not enabled by the box"
for p in Editor.exe scratch.exe viewer.exe; do add "C:\\tools\\$p"; done
[ "$(driver items "$main" lbRestrictRun | tr '\n' ' ')" = "Editor.exe scratch.exe viewer.exe " ] ||
  fail "the list holds: $(driver items "$main" lbRestrictRun)"
driver select-item "$main" lbRestrictRun 1
driver click "$main" buRestrictRunDelete
[ "$(driver items "$main" lbRestrictRun | tr '\n' ' ')" = "Editor.exe viewer.exe " ] ||
  fail "after the delete the list holds: $(driver items "$main" lbRestrictRun)"
shot "$main" "$out/restriction-list-ja.png"
apply
regq "$policies" | grep -q 'RestrictRun *REG_DWORD *0x1' || fail "RestrictRun not written: $(regq "$policies")"
list=$(regq "$policies\\RestrictRun" | sed -n 's/^ *\([0-9]*\) *REG_SZ *\(.*\)$/\1=\2/p' | sort -n | tr '\n' ' ')
[ "$list" = "1=TOLVANE.EXE 2=REGEDIT.EXE 3=Editor.exe 4=viewer.exe " ] || fail "the RestrictRun key holds: $list"
[ ! -e "$WINEPREFIX/drive_c/suite/shutdown-record.txt" ] || fail "a log-off was requested"
page "スタートパネル" startmenu-ja
close
password() { regq 'HKLM\Software\Tazet\Tolvane' | sed -n 's/^ *Password *REG_SZ *//p'; }
unlocked=$(password)

main="Kelvorin ver6.01 for WindowsXP"
export SUITE_LANG=en_US.UTF-8
run
page "Window" window-en
page "Restriction" restriction-en
[ "$(driver checked "$main" cbRestrictRun)" = 1 ] || fail "the restriction is not read back"
[ "$(driver items "$main" lbRestrictRun | tr '\n' ' ')" = "Editor.exe viewer.exe " ] ||
  fail "the list reads back as: $(driver items "$main" lbRestrictRun)"
# The lock password through the button (the dialog has the title as its
# caption and stands above the main window).
driver click "$main" buPasswordSetting
driver type "$main" edNewPassword1 open || fail "no set-password dialog"
driver type "$main" edNewPassword2 open
driver click "$main" buOK
[ "$(driver enabled "$main" sbPlay 1)" = 1 ] || fail "Apply is not enabled by the password dialog"
driver tab "$main" PageControl "Start Menu" || fail "no Start Menu tab"
driver click "$main" cbMenuRequireClick
[ "$(driver enabled "$main" tbMenuSpeed)" = 0 ] || fail "the menu speed stays enabled"
shot "$main" "$out/startmenu-en.png"
apply
regq 'HKCU\Control Panel\Desktop' | grep -q 'MenuShowDelay *REG_SZ *65535' ||
  fail "MenuShowDelay: $(regq 'HKCU\Control Panel\Desktop' | grep MenuShowDelay)"
[ "$(password)" != "$unlocked" ] || fail "the lock password is not stored"
close
wineserver -k 2>/dev/null || true
echo "PASS: window, start panel and restriction pages under Wine"
