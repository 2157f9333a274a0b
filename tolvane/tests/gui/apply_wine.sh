#!/bin/sh
# The settings tool under Wine, driven through its real windows: a fresh
# prefix, the first-run restore-point script, a desktop box ticked, Apply,
# the log-off question answered No, and what Wine's registry then holds.
# Screenshots of the desktop page in Japanese and English go to OUT.
# Usage: apply_wine.sh TOLVANE.EXE OUT-FOLDER  (needs DISPLAY)
set -e
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$2
src=$(cd "$(dirname "$0")/../../.." && pwd)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUITE_WINEPREFIX="$work/prefix"
cd "$(dirname "$exe")"
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
# The program never ends the session in a test: the request goes to a file.
export SUITE_SHUTDOWN_RECORD='C:\suite\bin\shutdown-record.txt'
bin="$WINEPREFIX/drive_c/suite/bin"
main="トルヴァネ ver6.01 for WindowsXP"

start "$exe"
driver find "$main" || fail "no main window"
# The restore-point script reports in its own box (Wine has no System Restore).
driver answer "トルヴァネ" ok || fail "the restore-point script did not run"
restore_point() { regq 'HKLM\Software\Tazet\Tolvane' | grep -q 'RestorePointCreated *REG_DWORD *0x1'; }
await "RestorePointCreated to be 1 after the script" restore_point

driver tab "$main" PageControl "デスクトップ" || fail "no desktop tab"
shot "$main" "$out/desktop-ja.png"
driver click "$main" cbNoActiveDesktop
[ "$(driver enabled "$main" sbPlay)" = 1 ] || fail "Apply is not enabled by the box"
driver click "$main" sbPlay
driver answer "" no || fail "no log-off question"
driver gone "" || fail "the question stays"
regq 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' | grep -q 'NoActiveDesktop *REG_DWORD *0x1' ||
  fail "NoActiveDesktop not written"
suite=$(regq 'HKLM\Software\Tazet\Tolvane')
for v in Top Left IconDir; do echo "$suite" | grep -q "^ *$v " || fail "suite key lacks $v"; done
regq 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\TOLVANE.EXE' | grep -q 'C:\\suite\\bin\\tolvane.exe' ||
  fail "App Paths TOLVANE.EXE not written"
[ ! -e "$bin/shutdown-record.txt" ] || fail "a log-off was requested"
applied
driver click "$main" sbStop   # nothing unapplied: no question
ended || fail "the window did not close"

# English: the same page, with the box read back ticked; the window stored at
# a place off the screen starts centred on it.
for v in Top Left; do wine reg add 'HKLM\Software\Tazet\Tolvane' /v $v /t REG_DWORD /d 5000 /f >/dev/null 2>&1; done
SUITE_LANG=en_US.UTF-8 start "$exe"
main="Kelvorin ver6.01 for WindowsXP"
driver find "$main" || fail "no English main window"
set -- $(driver rect "$main")
[ "$1" -ge "$5" ] && [ "$2" -ge "$6" ] && [ "$3" -le "$7" ] && [ "$4" -le "$8" ] ||
  fail "the window stored at 5000,5000 is not on the screen: $*"
driver tab "$main" PageControl "Desktop" || fail "no Desktop tab"
shot "$main" "$out/desktop-en.png"
[ "$(driver checked "$main" cbNoActiveDesktop)" = 1 ] || fail "the box is not read back ticked"
driver click "$main" sbStop
ended || fail "the English window did not close"
wineserver -k 2>/dev/null || true
echo "PASS: tolvane under Wine"
