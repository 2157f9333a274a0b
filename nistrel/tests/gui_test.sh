#!/bin/sh
# The distribution folder under Wine in XP mode, driven through the GUI test
# driver: nistrel.exe installs into C:\Program Files\Tolvane (the files are
# there, the shortcuts are real links that lnkinfo reads, Wine's uninstaller
# lists the entry), tolvane.exe starts from there, and the entry's own
# command uninstalls again. Screenshots of every page in both languages go
# to SHOTS. Usage: gui_test.sh DISTRIBUTION_DIR SHOTS (needs DISPLAY)
set -e
dist=$(cd "$1" && pwd)
shots=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
gui_tree=$(dirname "$dist")
mkdir -p "$shots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUITE_WINEPREFIX="$work/prefix"
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The settings tool never ends the session in a test.
export SUITE_SHUTDOWN_RECORD='C:\shutdown-record.txt'
c="$WINEPREFIX/drive_c"
cp -r "$dist" "$c/setup"
# launch LANG FOLDER EXE ARG...: a program of the prefix in its folder, in the background.
launch() {
  lang=$1 dir=$2; shift 2
  (cd "$dir" && LANG=$lang LC_ALL=$lang wine "$@" >/dev/null 2>&1) &
  pid=$!
}
# Wine's own list of uninstall entries, read on a Japanese system.
entries() { (cd "$c" && LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine uninstaller --list 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r'); }
unix() { printf '%s' "$1" | sed 's|^C:\\|'"$c"'/|; s|\\|/|g'; }
folder() {  # a shell folder of the account, as the programs read it
  regq 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v "$1" |
    sed -n "s/^ *$1 *REG_SZ *//p"
}
target() { lnkinfo "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^[[:space:]]*Local path[[:space:]]*: //p' | head -n1; }

# English: the agreement and the choice page, then Cancel ends without a trace.
main="Kelvorin ver6.01 for WindowsXP"
launch en_US.UTF-8 "$c/setup" 'C:\setup\nistrel.exe'
driver find "$main" || fail "no English installer window"
driver text "$main" mmReadme | grep -q "Licence agreement" || fail "the English agreement is not shown"
shot "$main" "$shots/nistrel-agreement-en.png"
driver click "$main" buNext
shot "$main" "$shots/nistrel-choice-en.png"
driver click "$main" buCancel
ended || fail "Cancel did not end the English installer"

# Japanese: install with every box ticked into the folder it proposes.
main="トルヴァネ ver6.01 for WindowsXP"
launch ja_JP.UTF-8 "$c/setup" 'C:\setup\nistrel.exe'
driver find "$main" || fail "no installer window"
driver text "$main" mmReadme | grep -q "使用許諾契約書" || fail "the agreement is not shown in Japanese"
shot "$main" "$shots/nistrel-agreement-ja.png"
driver click "$main" buNext
[ "$(driver text "$main" edFolder)" = 'C:\Program Files\Tolvane' ] || fail "folder: $(driver text "$main" edFolder)"
shot "$main" "$shots/nistrel-choice-ja.png"
driver click "$main" buNext
# The end message as the screen shows it: painted, its text there.
report=$(driver painted "トルヴァネ セットアップ" 20 'C:\setup-end.ppm')
case "$report" in painted*) ;; *) fail "the end message is not seen painted: $report" ;; esac
convert "$c/setup-end.ppm" "$shots/nistrel-end-ja.png"
driver answer "トルヴァネ セットアップ" ok || fail "no end message: $(driver message "" 2>&1)"
ended || fail "the installer did not end"

inst="$c/Program Files/Tolvane"
for f in $(ls "$dist"); do
  [ "$f" = licence_en.txt ] && continue
  cmp -s "$dist/$f" "$inst/$f" || fail "$f was not installed"
done
[ ! -e "$inst/licence_en.txt" ] || fail "the English agreement was installed on a Japanese system"
menu="$(unix "$(folder Programs)")/トルヴァネ"
desktop=$(unix "$(folder Desktop)")
for link in "$menu/トルヴァネ.LNK=tolvane.exe" "$menu/パヴレル.LNK=pavrel.exe" \
            "$menu/トルヴァネ セットアップ.LNK=nistrel.exe" "$desktop/トルヴァネ.LNK=tolvane.exe"; do
  file=${link%=*} program=${link##*=}
  [ -f "$file" ] || fail "no shortcut $file"
  t=$(target "$file")
  [ "$t" = "C:\\Program Files\\Tolvane\\$program" ] || fail "$file points at '$t': $(lnkinfo "$file" 2>&1 | tail -n 20)"
done
[ ! -e "$menu/モルタヴェル.LNK" ] || fail "a sibling without files got a shortcut"
entries | grep -qx "TOLVANE|||トルヴァネ ver6.01 for WindowsXP" || fail "uninstaller --list: $(entries)"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TOLVANE'
uninstall=$(regq "$entry" /v UninstallString | sed -n 's/^ *UninstallString *REG_SZ *//p')
[ "$uninstall" = '"C:\Program Files\Tolvane\NISTREL.EXE" /U' ] || fail "UninstallString: $uninstall"
regq 'HKLM\Software\Tazet\Tolvane' | grep -q 'RestorePointCreated *REG_DWORD *0x0' || fail "RestorePointCreated is not 0"

# The settings tool starts from the installed folder and finds its script there.
launch ja_JP.UTF-8 "$inst" 'C:\Program Files\Tolvane\tolvane.exe'
driver answer "トルヴァネ" ok || fail "the installed settings tool did not run its restore-point script"
driver find "$main" || fail "the installed settings tool shows no window"
regq 'HKLM\Software\Tazet\Tolvane' | grep -q 'RestorePointCreated *REG_DWORD *0x1' || fail "RestorePointCreated is not 1"
driver click "$main" sbStop
ended || fail "the settings tool did not close"

# The entry's own command uninstalls; the English page first, left with Cancel.
launch en_US.UTF-8 "$inst" 'C:\Program Files\Tolvane\NISTREL.EXE' /U
driver find "Kelvorin ver6.01 for WindowsXP" || fail "no English uninstall window"
shot "Kelvorin ver6.01 for WindowsXP" "$shots/nistrel-uninstall-en.png"
driver click "Kelvorin ver6.01 for WindowsXP" buCancel
ended || fail "Cancel did not end the uninstaller"
# Started as the shell starts it; it keeps the driver's handles, so they go nowhere.
sh "$src/scripts/wine-run.sh" "$driver_exe" exec "$uninstall" </dev/null >/dev/null 2>&1
driver find "$main" || fail "no uninstall window"
[ "$(driver text "$main" buNext)" = "アンインストール" ] || fail "not the uninstall page: $(driver text "$main" buNext)"
shot "$main" "$shots/nistrel-uninstall-ja.png"
driver click "$main" buNext
driver answer "Uninstall" ok || fail "no uninstall message"
driver gone "$main" || fail "the uninstaller did not end"
# removed: the installed files are gone (the running uninstaller cannot
# delete itself on XP; Wine may let it).
removed() {
  for f in $(ls "$dist"); do [ "$f" = nistrel.exe ] || [ ! -e "$inst/$f" ] || return 1; done
}
await "the uninstall to remove the installed files" removed
[ -d "$inst" ] || fail "the installation folder itself went"
[ ! -e "$menu" ] || fail "the Start-menu folder stayed: $(ls "$menu")"
[ ! -e "$desktop/トルヴァネ.LNK" ] || fail "the desktop shortcut stayed"
! entries | grep -q "^TOLVANE|" || fail "the entry stayed: $(entries)"
regq 'HKLM\Software\Tazet\Tolvane' | grep -q 'InstalledDir' || fail "the suite key went"
wineserver -k 2>/dev/null || true
echo "PASS: nistrel installs and uninstalls under Wine"
