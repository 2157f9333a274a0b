#!/bin/sh
# The settings file under Wine, driven through the real windows and the real
# file dialogs. Japanese: two settings changed, saved through the save
# dialog, read back by Wine's own profile functions; a box unticked and the
# file opened again ticks it; the apply leaves MySettings.ini beside the
# program. English, in a fresh prefix: the file opened and applied writes
# the same registry values (reg export of the touched keys compared).
# Screenshots of the dialogs in both languages go to OUT.
# Usage: settings_file_wine.sh TOLVANE.EXE OUT-FOLDER  (needs DISPLAY)
set -e
tolvane=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$(mkdir -p "$2" && cd "$2" && pwd)
src=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$(dirname "$tolvane")"
export SUITE_SHUTDOWN_RECORD='C:\suite\shutdown-record.txt'
folder='C:\Program Files\Tolvane'
file='C:\settings\saved.ini'

# prefix NAME: a fresh prefix with the program installed as the installer
# lays it out, and no restore-point script on this run.
prefix() {
  [ -z "$WINEPREFIX" ] || wineserver -k 2>/dev/null || true
  export SUITE_WINEPREFIX="$work/$1"
  . "$src/tests/gui/lib.sh"
  on_exit 'rm -rf "$work"'
  install="$WINEPREFIX/drive_c/Program Files/Tolvane"
  mkdir -p "$install" "$WINEPREFIX/drive_c/settings"
  cp -f "$tolvane" "$install/"
  [ -d "$(dirname "$tolvane")/wine-files" ] && cp -rf "$(dirname "$tolvane")/wine-files/." "$install/"
  wine reg add 'HKLM\Software\Tazet\Tolvane' /v RestorePointCreated /t REG_DWORD /d 1 /f >/dev/null 2>&1
}
launch() { sh "$src/scripts/wine-run.sh" "$driver_exe" exec "$1" </dev/null >/dev/null 2>&1; }
run() { launch "\"$folder\\tolvane.exe\"" || fail "cannot start the settings tool"; driver find "$main" || fail "no main window"; }
# dialog CAPTION SHOT: the file dialog of that caption gets the file's path
# and its OK button (Save or Open).
dialog() {
  driver find "$1" || fail "no dialog \"$1\""
  shot "$1" "$out/$2.png"
  driver type "$1" Edit#1 "$file" || fail "no file name field in \"$1\""
  driver answer "$1" ok
  driver gone "$1" || fail "the dialog \"$1\" stays"
}
value() { driver profile "$file" "$1" "$2"; }
# export FOLDER: the keys the settings touched, as Wine's reg exports them.
export_keys() {
  mkdir -p "$1"
  n=0
  for key in 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' \
             'HKCU\SOFTWARE\Microsoft\Internet Explorer\Main' 'HKLM\Software\Microsoft\Internet Explorer\Main' \
             'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'; do
    n=$((n + 1))
    wine reg export "$key" "C:\\settings\\key$n.reg" /y >"$work/reg.out" 2>&1 ||
      fail "reg export $key: $(tr -d '\r' <"$work/reg.out")"
    cp "$WINEPREFIX/drive_c/settings/key$n.reg" "$1/key$n.reg"
  done
}

# --- Japanese: save, read back, open again, apply ------------------------------
prefix ja
main="トルヴァネ ver6.01 for WindowsXP"
run
driver tab "$main" PageControl "デスクトップ" || fail "no desktop tab"
driver click "$main" cbNoActiveDesktop
driver tab "$main" PageControl "エクスプローラ" || fail "no Explorer tab"
driver click "$main" cbC
driver tab "$main" PageControl "ie (1)" || fail "no ie tab"
driver type "$main" edIETitle ' "Suite" Browser '
driver click "$main" sbSave
dialog "名前を付けて保存" save-dialog-ja
[ -f "$WINEPREFIX/drive_c/settings/saved.ini" ] || fail "no settings file saved"
sections=$(driver profile "$file" | tr '\n' ' ')
for s in Control Windows PC Icon Desktop Explorer "Network Neighborhood" "Recycle Bin" "Context Menu" Security \
         "Internet Explorer" Path Directory Users; do
  echo " $sections" | grep -q " $s " || fail "section $s missing: $sections"
done
[ "$(value Control Title)" = "Tolvane Configuration File" ] || fail "title: $(value Control Title)"
[ "$(value Control FileName)" = "$file" ] || fail "file name: $(value Control FileName)"
[ "$(value Desktop NoActiveDesktop)" = 1 ] || fail "NoActiveDesktop: $(value Desktop NoActiveDesktop)"
[ "$(value Explorer 'Hide Drive:C')" = 1 ] || fail "Hide Drive:C: $(value Explorer 'Hide Drive:C')"
[ "$(value Explorer 'Hide Drive:D')" = 0 ] || fail "Hide Drive:D: $(value Explorer 'Hide Drive:D')"
[ "$(value 'Internet Explorer' IETitle)" = ' "Suite" Browser ' ] ||
  fail "the title's blanks and quotes are lost: [$(value 'Internet Explorer' IETitle)]"
[ "$(value Windows WindowsXP)" = 1 ] || fail "the Windows report"
keys=$(driver profile "$file" Desktop | tr '\n' ',')
[ "$keys" = "Control Panel,Printers,PaintDesktopVersion,NoActiveDesktop,NoTrayItemsDisplay,NoToolbarsOnTaskbar," ] ||
  fail "Desktop keys: $keys"

driver tab "$main" PageControl "デスクトップ"
driver click "$main" cbNoActiveDesktop
[ "$(driver checked "$main" cbNoActiveDesktop)" = 0 ] || fail "the box stays ticked"
driver click "$main" sbOpen
dialog "開く" open-dialog-ja
[ "$(driver checked "$main" cbNoActiveDesktop 1)" = 1 ] || fail "opening the file does not tick the box again"
[ "$(driver text "$main" edIETitle ' "Suite" Browser ')" = ' "Suite" Browser ' ] || fail "the title is not loaded"
[ "$(driver enabled "$main" sbPlay 1)" = 1 ] || fail "Apply is not enabled by loading"
driver click "$main" sbPlay
driver message "" | grep -q 'Logoff' || fail "no log-off question after loading"
driver answer "" no
driver gone "" || fail "the question stays"
[ -f "$install/MySettings.ini" ] || fail "no MySettings.ini beside the program"
[ "$(driver profile "$folder\\MySettings.ini" Control Title)" = "Tolvane Configuration File" ] ||
  fail "the snapshot is no settings file"
[ "$(driver profile "$folder\\MySettings.ini" Desktop NoActiveDesktop)" = 1 ] || fail "the snapshot lacks the loaded box"
regq 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' | grep -q 'NoActiveDesktop *REG_DWORD *0x1' ||
  fail "NoActiveDesktop not applied"
export_keys "$work/ja-keys"
cp "$WINEPREFIX/drive_c/settings/saved.ini" "$work/saved.ini"
driver click "$main" sbStop
driver gone "$main" || fail "the window did not close"

# --- English, a fresh prefix: open the file and apply --------------------------
prefix en
export SUITE_LANG=en_US.UTF-8
main="Kelvorin ver6.01 for WindowsXP"
cp "$work/saved.ini" "$WINEPREFIX/drive_c/settings/saved.ini"
run
driver click "$main" sbOpen
dialog "Open" open-dialog-en
driver tab "$main" PageControl "Desktop" || fail "no Desktop tab"
[ "$(driver checked "$main" cbNoActiveDesktop 1)" = 1 ] || fail "the English window does not load the box"
driver click "$main" sbPlay
driver answer "" no || fail "no log-off question"
driver gone "" || fail "the question stays"
export_keys "$work/en-keys"
for f in "$work"/ja-keys/*.reg; do
  cmp -s "$f" "$work/en-keys/$(basename "$f")" ||
    fail "the registry differs after loading in a fresh prefix: $(diff "$f" "$work/en-keys/$(basename "$f")" | head -20)"
done
driver click "$main" sbSave
dialog "Save As" save-dialog-en
driver click "$main" sbStop
driver gone "$main" || fail "the window did not close"
wineserver -k 2>/dev/null || true
echo "PASS: settings file under Wine"
