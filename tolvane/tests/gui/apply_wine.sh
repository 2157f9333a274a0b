#!/bin/sh
# The settings tool under Wine, driven through its real windows: a fresh
# prefix, the first-run restore-point script, a desktop box ticked, Apply,
# the log-off question answered No, and what Wine's registry then holds.
# Screenshots of the desktop page in Japanese and English go to OUT.
# Usage: apply_wine.sh TOLVANE.EXE OUT-FOLDER  (needs DISPLAY)
set -e
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$2
here=$(cd "$(dirname "$0")/../../.." && pwd)
mkdir -p "$out"
work=$(mktemp -d)
export SUITE_WINEPREFIX="$work/prefix" WINEPREFIX="$work/prefix" WINEDEBUG=-all
# The program never ends the session in a test: the request goes to a file.
export SUITE_SHUTDOWN_RECORD='C:\suite\bin\shutdown-record.txt'
bin="$work/prefix/drive_c/suite/bin"
fail() { echo "FAIL: $*"; wineserver -k 2>/dev/null || true; rm -rf "$work"; exit 1; }
reg() { (cd "$work" && wine reg query "$1" 2>/dev/null | tr -d '\r'); }
window() {  # waits for a window whose name matches, prints its id
  i=0
  while [ $i -lt 60 ]; do
    w=$(xdotool search --name "$1" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 1; i=$((i + 1))
  done
  return 1
}
origin() { xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p'; }
click() { xdotool mousemove $(($1 + $3)) $(($2 + $4)) click 1; sleep 2; }

sh "$here/scripts/wine-prefix.sh" "$SUITE_WINEPREFIX"
(cd "$(dirname "$exe")" && sh "$here/scripts/wine-run.sh" "$exe" >/dev/null 2>&1 &)
main=$(window "ver6.01 for WindowsXP") || fail "no main window"
# The restore-point script reports in its own box (Wine has no System Restore).
box=$(window "^トルヴァネ$") || fail "the restore-point script did not run"
set -- $(origin "$box")
click $1 $2 144 58           # its OK
[ "$(reg 'HKLM\Software\Tazet\Tolvane' | grep -c 'RestorePointCreated *REG_DWORD *0x1')" = 1 ] ||
  fail "RestorePointCreated is not 1"

set -- $(origin "$main")
x=$1 y=$2
click $x $y 232 46           # the desktop tab
import -window root "$out/desktop-ja.png"
click $x $y 27 110           # cbNoActiveDesktop
click $x $y 52 420           # Apply
sleep 2
click $x $y 420 238          # No to the log-off question
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' | grep -q 'NoActiveDesktop *REG_DWORD *0x1' ||
  fail "NoActiveDesktop not written"
suite=$(reg 'HKLM\Software\Tazet\Tolvane')
for v in Top Left IconDir; do echo "$suite" | grep -q "^ *$v " || fail "suite key lacks $v"; done
reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\TOLVANE.EXE' | grep -q 'C:\\suite\\bin\\tolvane.exe' ||
  fail "App Paths TOLVANE.EXE not written"
[ ! -e "$bin/shutdown-record.txt" ] || fail "a log-off was requested"
click $x $y 644 420          # Close: nothing unapplied, no question
xdotool search --name "ver6.01 for WindowsXP" >/dev/null 2>&1 && fail "the window did not close"

# English: the same page, with the box read back ticked.
(cd "$(dirname "$exe")" && SUITE_LANG=en_US.UTF-8 sh "$here/scripts/wine-run.sh" "$exe" >/dev/null 2>&1 &)
main=$(window "Kelvorin ver6.01") || fail "no English main window"
sleep 2
set -- $(origin "$main")
click $1 $2 158 28           # the Desktop tab
import -window root "$out/desktop-en.png"
click $1 $2 644 420
wineserver -k 2>/dev/null || true
rm -rf "$work"
echo "PASS: tolvane under Wine"
