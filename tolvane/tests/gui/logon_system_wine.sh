#!/bin/sh
# The logon, performance and system pages under Wine, driven through the real
# windows, with the settings tool installed in its program folder. In
# Japanese: a history switch of the older CleanMRU key shows ticked, automatic
# logon is ticked with a name and a password, another switch ticked, Apply and
# the log-off question answered No; Wine's reg query then shows the switches
# under AutoClean, no CleanMRU key, the companion's Run value, the logon
# values, and a damaged Background written back as three numbers from 0 to
# 255. In English: automatic logon and the switches unticked, a file cache
# size typed, Apply and the restart question answered No; "0" alone is
# written (the name stays), the Run value is gone and the size is stored in
# units of 1024. Screenshots of the four pages in both languages go to OUT.
# Usage: logon_system_wine.sh TOLVANE.EXE OUT-FOLDER  (needs DISPLAY)
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

folder='C:\Program Files\Tolvane'
install="$WINEPREFIX/drive_c/Program Files/Tolvane"
mkdir -p "$install"
cp -f "$tolvane" "$install/"
[ -d "$(dirname "$tolvane")/wine-files" ] && cp -rf "$(dirname "$tolvane")/wine-files/." "$install/"

suite='HKLM\Software\Tazet\Tolvane'
wl='HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\run'
mm='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management'
wine reg add "$suite" /v RestorePointCreated /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$suite\\CleanMRU" /v RecentDocs /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$wl" /v Background /t REG_SZ /d '300 -5 abc' /f >/dev/null 2>&1
wine reg delete "$mm" /v IoPageLockLimit /f >/dev/null 2>&1 || true

launch() { sh "$src/scripts/wine-run.sh" "$driver_exe" exec "$1" </dev/null >/dev/null 2>&1; }
run() { launch "\"$folder\\tolvane.exe\"" || fail "cannot start the settings tool"; driver find "$main" || fail "no main window"; }
page() { driver tab "$main" PageControl "$1" || fail "no tab $1"; shot "$main" "$out/$2.png"; }
checked() { [ "$(driver checked "$main" "$1")" = "$2" ] || fail "$1 is not $2"; }
click() { driver click "$main" "$1"; }
value() { regq "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
close() { driver click "$main" sbStop; driver gone "$main" || fail "the window did not close"; }

main="トルヴァネ ver6.01 for WindowsXP"
run
page "ログオン (1)" logon1-ja
click cbAutoAdminLogon
[ "$(driver enabled "$main" edDefaultUserName)" = 1 ] || fail "the user name stays disabled"
driver type "$main" edDefaultUserName suiteuser
driver type "$main" edDefaultPassword 'pass word'
page "ログオン (2)" logon2-ja
checked cbRmRecent 1
checked cbFilesOnly 1
[ "$(driver enabled "$main" cbFilesOnly)" = 0 ] || fail "files-only is enabled without the temp switch"
click cbRmRunMRU
page "パフォーマンス" performance-ja
checked cbIoPageLockLimit 1
page "システム" system-ja
driver click "$main" sbPlay
question=$(driver message "")
echo "$question" | grep -q 'Logoff' || fail "no log-off question: $question"
driver answer "" no
driver gone "" || fail "the question stays"
applied
[ "$(value "$suite\\AutoClean" RecentDocs)" = 0x1 ] || fail "RecentDocs not under AutoClean: $(regq "$suite\\AutoClean")"
[ "$(value "$suite\\AutoClean" RunMRU)" = 0x1 ] || fail "RunMRU not under AutoClean"
[ "$(value "$suite\\AutoClean" WinTempFile)" = 0x0 ] || fail "WinTempFile not written"
! wine reg query "$suite\\CleanMRU" >/dev/null 2>&1 || fail "the CleanMRU key stays"
[ "$(value "$run_key" TolvaneAutoClean)" = "\"$folder\\DURVOST.EXE\"" ] ||
  fail "Run value: $(value "$run_key" TolvaneAutoClean)"
[ "$(value "$wl" AutoAdminLogon)" = 1 ] || fail "AutoAdminLogon: $(value "$wl" AutoAdminLogon)"
[ "$(value "$wl" DefaultUserName)" = suiteuser ] || fail "DefaultUserName: $(value "$wl" DefaultUserName)"
[ "$(value "$wl" DefaultPassword)" = 'pass word' ] || fail "DefaultPassword: $(value "$wl" DefaultPassword)"
[ "$(value "$wl" Background)" = '255 0 0' ] || fail "Background: $(value "$wl" Background)"
[ ! -e "$WINEPREFIX/drive_c/suite/shutdown-record.txt" ] || fail "a log-off was requested"
close

main="Kelvorin ver6.01 for WindowsXP"
export SUITE_LANG=en_US.UTF-8
run
page "Logon-1" logon1-en
checked cbAutoAdminLogon 1
[ "$(driver text "$main" edDefaultUserName)" = suiteuser ] || fail "the user name is not read back"
click cbAutoAdminLogon
[ "$(driver enabled "$main" edDefaultUserName)" = 0 ] || fail "the user name stays enabled"
page "Logon-2" logon2-en
checked cbRmRecent 1
click cbRmRecent
click cbRmRunMRU
page "Performance" performance-en
click cbIoPageLockLimit
driver type "$main" edIoPageLockLimit 8
page "System" system-en
driver click "$main" sbPlay
question=$(driver message "")
echo "$question" | grep -q 'Restart Windows' || fail "no restart question: $question"
driver answer "" no
driver gone "" || fail "the question stays"
applied
[ "$(value "$wl" AutoAdminLogon)" = 0 ] || fail "AutoAdminLogon: $(value "$wl" AutoAdminLogon)"
[ "$(value "$wl" DefaultUserName)" = suiteuser ] || fail "the stored user name went: $(value "$wl" DefaultUserName)"
! wine reg query "$run_key" /v TolvaneAutoClean >/dev/null 2>&1 || fail "the Run value stays"
[ "$(value "$mm" IoPageLockLimit)" = 0x2000 ] || fail "IoPageLockLimit: $(value "$mm" IoPageLockLimit)"
[ ! -e "$WINEPREFIX/drive_c/suite/shutdown-record.txt" ] || fail "a restart was requested"
close
wineserver -k 2>/dev/null || true
echo "PASS: logon, performance and system pages under Wine"
