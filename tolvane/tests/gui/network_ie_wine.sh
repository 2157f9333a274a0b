#!/bin/sh
# The network, context menu and Internet Explorer pages under Wine, driven
# through the real windows, with the settings tool installed in a program
# folder with blanks. A prepared network adapter is mirrored and listed; an
# MTU typed and applied is read back under the adapter's interface key after
# the restart question (answered No); a time to live out of range is
# refused at Apply and when the edit is left, and never written as a part of
# it; in English the folder-icon verb ticked
# and applied leaves the quoted command, and the folder-icon tool started
# with exactly that command line shows the folder given. Screenshots of the
# four pages in Japanese and English go to OUT.
# Usage: network_ie_wine.sh TOLVANE.EXE TAMREL.EXE OUT-FOLDER  (needs DISPLAY)
set -e
tolvane=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
tamrel=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
out=$(mkdir -p "$3" && cd "$3" && pwd)
src=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUITE_WINEPREFIX="$work/prefix"
cd "$(dirname "$tolvane")"
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
export SUITE_SHUTDOWN_RECORD='C:\suite\shutdown-record.txt'

# The installer's layout: both programs and their files in one folder.
folder='C:\Program Files\Tolvane'
install="$WINEPREFIX/drive_c/Program Files/Tolvane"
mkdir -p "$install"
for exe in "$tolvane" "$tamrel"; do
  cp -f "$exe" "$install/"
  [ -d "$(dirname "$exe")/wine-files" ] && cp -rf "$(dirname "$exe")/wine-files/." "$install/"
done

# An adapter as the network class key and TCP/IP hold one; no restore point
# script on this run.
id='{5A1E7E57-0000-4000-8000-00000000A001}'
class='HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002bE10318}\0007'
interface="HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\$id"
wine reg add "$class" /v NetCfgInstanceId /t REG_SZ /d "$id" /f >/dev/null 2>&1
wine reg add "$class" /v DriverDesc /t REG_SZ /d 'Suite Test Adapter' /f >/dev/null 2>&1
wine reg add "$interface" /v EnableDHCP /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Tazet\Tolvane' /v RestorePointCreated /t REG_DWORD /d 1 /f >/dev/null 2>&1

# launch LINE: a program started with exactly this command line. Its output
# goes nowhere, since the program keeps what it inherits open.
launch() { sh "$src/scripts/wine-run.sh" "$driver_exe" exec "$1" </dev/null >/dev/null 2>&1; }
# run: the settings tool from its folder, as its shortcut starts it.
run() { launch "\"$folder\\tolvane.exe\"" || fail "cannot start the settings tool"; driver find "$main" || fail "no main window"; }
# page TAB NAME: shows the page and saves its screenshot.
page() { driver tab "$main" PageControl "$1" || fail "no tab $1"; shot "$main" "$out/$2.png"; }
close() { driver click "$main" sbStop; driver gone "$main" || fail "the window did not close"; }

main="トルヴァネ ver6.01 for WindowsXP"
run
regq "HKLM\\Software\\Tazet\\Tolvane\\Adapters\\$id" | grep -q 'DriverDesc *REG_SZ *Suite Test Adapter' ||
  fail "the adapter is not mirrored"
page "ネットワーク" network-ja
driver items "$main" cbAdapterID | grep -qx 'Suite Test Adapter' || fail "the adapter is not listed"
[ "$(driver checked "$main" cbDisableMTU)" = 1 ] || fail "an adapter without MTU is not at the default"
driver click "$main" cbDisableMTU
driver type "$main" edMTU 1454
[ "$(driver enabled "$main" sbPlay)" = 1 ] || fail "Apply is not enabled by the MTU"
page "右クリックメニュー" context-ja
page "ie (1)" ie1-ja
page "ie (2)" ie2-ja
driver click "$main" sbPlay
question=$(driver message "")
echo "$question" | grep -q '再起動しますか' || fail "no restart question: $question"
driver answer "" no
driver gone "" || fail "the question stays"
regq "$interface" | grep -q 'MTU *REG_DWORD *0x5ae' || fail "MTU 1454 not written: $(regq "$interface")"
[ ! -e "$WINEPREFIX/drive_c/suite/shutdown-record.txt" ] || fail "a restart was requested"
applied

# The time to live is taken from the whole text: "300" (typed through "30")
# stops Apply with a box and writes nothing; a slip is refused when the user
# leaves the edit; a number in range is written.
tcpip='HKLM\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters'
refused() {
  box=$(driver message "")
  echo "$box" | grep -q 'TTLには 1 から 255 までの数' || fail "no TTL box: $box"
  driver answer "" ok
  driver gone "" || fail "the TTL box stays"
  [ "$(driver text "$main" edDefaultTTL 128)" = 128 ] || fail "the edit does not show 128 again"
}
page "ネットワーク" network-ttl-ja
driver click "$main" cbDisableDefaultTTL
driver type "$main" edDefaultTTL 300
driver click "$main" sbPlay
refused
regq "$tcpip" /v DefaultTTL | grep -q DefaultTTL && fail "a refused TTL wrote $(regq "$tcpip" /v DefaultTTL)"
driver click "$main" edDefaultTTL
driver type "$main" edDefaultTTL 12w
driver tab "$main" PageControl "ie (2)"
refused
page "ネットワーク" network-ttl-left-ja
driver type "$main" edDefaultTTL 64
driver click "$main" sbPlay
driver message "" | grep -q '再起動しますか' || fail "no restart question after the TTL"
driver answer "" no
driver gone "" || fail "the question stays"
regq "$tcpip" /v DefaultTTL | grep -q 'DefaultTTL *REG_DWORD *0x40' || fail "TTL 64 not written: $(regq "$tcpip")"
applied
close

# English: the MTU read back; the folder-icon verb (Wine has no Active
# Desktop: the warning comes, and the verb is written all the same).
main="Kelvorin ver6.01 for WindowsXP"
export SUITE_LANG=en_US.UTF-8
run
page "Network" network-en
[ "$(driver text "$main" edMTU)" = 1454 ] || fail "the MTU is not read back"
[ "$(driver checked "$main" cbDisableMTU)" = 0 ] || fail "the MTU reads as the default"
page "Context Menu" context-en
driver click "$main" cbFolderIcon
driver message "" | grep -q 'not installed ActiveDesktop' || fail "no Active Desktop warning"
driver answer "" ok
driver gone "" || fail "the warning stays"
page "ie-1" ie1-en
page "ie-2" ie2-en
driver click "$main" sbPlay
applied
verb='HKCR\Folder\shell\TolvaneIcon'
caption=$(regq "$verb" /ve | sed -n 's/^ *([^)]*) *REG_SZ *//p')
[ "$caption" = 'Change Icon(&I)' ] || fail "verb caption: $caption"
command=$(regq "$verb\\command" /ve | sed -n 's/^ *([^)]*) *REG_SZ *//p')
[ "$command" = "\"$folder\\TAMREL.EXE\" \"%1\"" ] || fail "verb command: $command"
close

# The folder-icon tool as Explorer starts it for a folder with blanks.
target='C:\tamrel test\My Photos'
mkdir -p "$WINEPREFIX/drive_c/tamrel test/My Photos"
launch "$(printf '%s' "$command" | sed "s|%1|$(printf '%s' "$target" | sed 's/[\\&|]/\\&/g')|")" ||
  fail "cannot start the verb's command"
driver find "$target" || fail "the folder-icon tool does not show $target"
shot "$target" "$out/tamrel-verb-en.png"
driver click "$target" sbClose
driver gone "$target" || fail "the folder-icon tool did not close"
wineserver -k 2>/dev/null || true
echo "PASS: network, context menu and Internet Explorer pages under Wine"
