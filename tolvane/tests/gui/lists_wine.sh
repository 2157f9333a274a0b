#!/bin/sh
# The uninstall, start-up and New-menu pages under Wine, driven through the
# real windows. The uninstall entry of a prepared program, moved to the
# removed side and applied, leaves Wine's own list of installed programs
# (uninstaller --list) and lies whole under the suite key's DeleteUninstall;
# moved back and applied in English, it is listed again with all its values.
# An expandable start-up command moved and applied leaves run and lies under
# DeleteRun with its type and data; moved back, it returns the same. A
# New-menu entry goes below HKCR Tolvane.Backup and comes back. A
# protected start-up name is refused with its box. Then the program's entry
# in both stores at once (removed earlier, installed again): three applies
# keep every copy whole in one store or the other. Screenshots of the three
# pages in Japanese and English go to OUT.
# Usage: lists_wine.sh TOLVANE.EXE OUT-FOLDER  (needs DISPLAY)
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

suite='HKLM\Software\Tazet\Tolvane'
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
run_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
entry=SuiteTestProgram
name='Suite Test Program'
tray='%ProgramFiles%\Suite Test\tray.exe /min'
exists() { wine reg query "$@" >/dev/null 2>&1; }
add() { wine reg add "$@" /f >/dev/null 2>&1 || fail "cannot prepare: $*"; }

# A program as its installer leaves it, with values of several types and a
# subkey; a start-up command with an environment reference; a protected one.
add "$uninstall\\$entry" /v DisplayName /t REG_SZ /d "$name"
add "$uninstall\\$entry" /v UninstallString /t REG_SZ /d 'C:\Suite Test\uninst.exe'
add "$uninstall\\$entry" /v InstallLocation /t REG_EXPAND_SZ /d '%ProgramFiles%\Suite Test'
add "$uninstall\\$entry" /v NoModify /t REG_DWORD /d 1
add "$uninstall\\$entry\\Parts" /v Core /t REG_SZ /d yes
add "$run_key" /v SuiteTray /t REG_EXPAND_SZ /d "$tray"
add "$run_key" /v SystemTray /t REG_SZ /d 'SysTray.Exe'
add 'HKCR\.suitetest' /ve /t REG_SZ /d SuiteTest.Document
add 'HKCR\SuiteTest.Document' /ve /t REG_SZ /d 'Suite Test Document'
add 'HKCR\.suitetest\ShellNew' /v NullFile /t REG_SZ /d ''
add "$suite" /v RestorePointCreated /t REG_DWORD /d 1

# expandable KEY: KEY holds SuiteTray as REG_EXPAND_SZ with the command unexpanded.
expandable() { regq "$1" /v SuiteTray | grep 'SuiteTray *REG_EXPAND_SZ' | grep -qF "$tray"; }
listed() { wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -q "|||$name\$"; }
# The values of a key, without the key line, in a stable order.
values() { regq "$1" /s | grep '^ ' | sed 's/^ *//' | sort; }
# row LIST TEXT: the number of the row that shows TEXT (from 0).
row() {
  n=$(driver items "$main" "$1" | grep -nxF "$2" | head -1 | cut -d: -f1)
  [ -n "$n" ] || fail "$1 does not list '$2': $(driver items "$main" "$1" | tr '\n' '|')"
  echo $((n - 1))
}
move() { driver select-item "$main" "$1" "$(row "$1" "$2")" || fail "cannot select '$2'"; driver click "$main" "$3"; }
page() { driver tab "$main" PageControl "$1" || fail "no tab $1"; shot "$main" "$out/$2.png"; }
apply() {
  driver click "$main" sbPlay
  applied
}
close() { driver click "$main" sbStop; ended || fail "the window did not close"; }

listed || fail "Wine does not list the prepared program before the test"
before=$(values "$uninstall\\$entry")

main="トルヴァネ ver6.01 for WindowsXP"
start "$exe"
driver find "$main" || fail "no main window"
page "アンインストール" uninstall-ja
move lbCurrentUninstall "$name" buCurrentToDelete
driver items "$main" lbDeleteUninstall | grep -qxF "$name" || fail "the entry is not on the removed side"
[ "$(driver enabled "$main" buDeleteUninstall)" = 0 ] || fail "Clear stays enabled under a pending move"
shot "$main" "$out/uninstall-moved-ja.png"
page "自動実行" autorun-ja
move lbCurrentRun SystemTray buCurrentToDeleteForRun
box=$(driver message "")
[ "$box" = "SystemTrayは重要な自動実行プログラムの為、削除はできません" ] || fail "protected name box: $box"
driver answer "" ok
driver gone "" || fail "the box stays"
move lbCurrentRun SuiteTray buCurrentToDeleteForRun
shot "$main" "$out/autorun-moved-ja.png"
page "新規作成" new-ja
move lbCurrentShellNew 'Suite Test Document' buCurrentToDeleteForShellNew
# Nothing is moved before Apply.
listed || fail "the move reached the registry before Apply"
apply
[ "$(driver enabled "$main" buDeleteUninstall)" = 1 ] || fail "Clear is not enabled again after Apply"
listed && fail "Wine still lists the removed program"
exists "$uninstall\\$entry" && fail "the uninstall entry stays"
[ "$(values "$suite\\DeleteUninstall\\$entry")" = "$before" ] ||
  fail "DeleteUninstall does not hold the whole entry: $(values "$suite\\DeleteUninstall\\$entry")"
exists "$run_key" /v SuiteTray && fail "the start-up program stays in run"
regq "$run_key" /v SystemTray | grep -q 'SystemTray *REG_SZ *SysTray.Exe' || fail "the protected program moved"
expandable "$suite\\DeleteRun" ||
  fail "DeleteRun does not hold the expandable command: $(regq "$suite\\DeleteRun")"
exists 'HKCR\.suitetest\ShellNew' && fail "the New-menu entry stays"
regq 'HKCR\Tolvane.Backup\.suitetest\ShellNew' | grep -q 'NullFile *REG_SZ' || fail "the New-menu entry is not kept"
[ ! -e "$WINEPREFIX/drive_c/suite/bin/shutdown-record.txt" ] || fail "the moves asked for a restart or log-off"
close

# English: both read back on the removed side and moved back.
main="Kelvorin ver6.01 for WindowsXP"
export SUITE_LANG=en_US.UTF-8
start "$exe"
driver find "$main" || fail "no English main window"
page "Uninstall" uninstall-en
move lbDeleteUninstall "$name" buDeleteToCurrent
driver items "$main" lbCurrentUninstall | grep -qxF "$name" || fail "the entry is not back on the current side"
page "Autorun" autorun-en
move lbDeleteRun SuiteTray buDeleteToCurrentForRun
page "New" new-en
move lbDeleteShellNew 'Suite Test Document' buDeleteToCurrentForShellNew
apply
listed || fail "Wine does not list the restored program"
[ "$(values "$uninstall\\$entry")" = "$before" ] || fail "the restored entry lost values: $(values "$uninstall\\$entry")"
exists "$suite\\DeleteUninstall\\$entry" && fail "the entry stays under DeleteUninstall"
expandable "$run_key" ||
  fail "run does not hold the expandable command again: $(regq "$run_key")"
exists "$suite\\DeleteRun" /v SuiteTray && fail "the start-up program stays under DeleteRun"
regq 'HKCR\.suitetest\ShellNew' | grep -q 'NullFile *REG_SZ' || fail "the New-menu entry is not back"
exists 'HKCR\Tolvane.Backup\.suitetest\ShellNew' && fail "the New-menu entry stays kept"
close

# The program removed earlier and installed again: an older copy of its
# entry waits under DeleteUninstall while the current one is listed. The
# current entry out, then both back, one apply each: every copy stays whole
# in one of the two stores, the last one refused with its box.
older='C:\Suite Test\old-uninst.exe'
add "$suite\\DeleteUninstall\\$entry" /v DisplayName /t REG_SZ /d "$name"
add "$suite\\DeleteUninstall\\$entry" /v UninstallString /t REG_SZ /d "$older"
kept="$suite\\DeleteUninstall\\$entry (Tolvane 2)"
start "$exe"
driver find "$main" || fail "no English main window"
page "Uninstall" collision-before-en
move lbCurrentUninstall "$name" buCurrentToDelete
driver items "$main" lbDeleteUninstall | grep -qxF "$name (2)" || fail "the older copy shows no number"
apply
listed && fail "Wine still lists the program moved out"
[ "$(values "$suite\\DeleteUninstall\\$entry")" = "$before" ] || fail "the newer copy is not whole after the first apply"
regq "$kept" /v UninstallString | grep -qF "$older" || fail "the older copy is lost: $(regq "$suite\\DeleteUninstall" /s)"
[ "$(driver items "$main" lbDeleteUninstall | sort | tr '\n' '|')" = "$name|$name (2)|" ] ||
  fail "the removed list: $(driver items "$main" lbDeleteUninstall | tr '\n' '|')"
move lbDeleteUninstall "$name" buDeleteToCurrent
apply
listed || fail "Wine does not list the program moved back"
[ "$(values "$uninstall\\$entry")" = "$before" ] || fail "the entry moved back is not whole"
regq "$kept" /v UninstallString | grep -qF "$older" || fail "the older copy is lost after the second apply"
shot "$main" "$out/collision-second-en.png"
move lbDeleteUninstall "$name (2)" buDeleteToCurrent
box=$(driver message "")
echo "$box" | grep -q 'cannot go back' || fail "no refusal box: $box"
driver answer "" ok
driver gone "" || fail "the box stays"
apply
listed || fail "Wine does not list the program after the third apply"
[ "$(values "$uninstall\\$entry")" = "$before" ] || fail "the current entry was replaced"
regq "$kept" /v UninstallString | grep -qF "$older" || fail "the older copy is lost after the third apply"
[ "$(driver items "$main" lbDeleteUninstall)" = "$name (2)" ] || fail "the removed list does not show the older copy"
close
wineserver -k 2>/dev/null || true
echo "PASS: list pages under Wine"
