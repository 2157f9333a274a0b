#!/bin/sh
# The distribution folder as users unpack it, under Wine in XP mode on one
# system (Japanese or English: one a run, each in a prefix of its own, for
# Wine points the dialog face at the locale that started last), driven
# through the GUI test driver. The list reads the same through Wine's own
# profile functions on either system; a list that is a program and one
# without the system's setup section are refused with a message that names
# what is missing, and leave nothing behind; nistrel.exe then installs every
# file the list names into C:\Program Files\Tolvane (the shortcuts are real
# links that lnkinfo reads, Wine's uninstaller lists the entry, reg query
# shows it and the suite key), tolvane.exe starts from there, and the
# entry's own command uninstalls everything listed again.
# Usage: gui_test.sh DISTRIBUTION_DIR SHOTS LOCALE (needs DISPLAY)
set -e
dist=$(cd "$1" && pwd)
shots=$2
locale=$3
src=$(cd "$(dirname "$0")/../.." && pwd)
gui_tree=$(dirname "$dist")
mkdir -p "$shots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every Wine process of the test, the driver's too, runs on this one system.
export SUITE_WINEPREFIX="$work/prefix" SUITE_LANG=$locale LANG=$locale LC_ALL=$locale
. "$src/tests/gui/lib.sh"
on_exit 'rm -rf "$work"'
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The settings tool never ends the session in a test.
export SUITE_SHUTDOWN_RECORD='C:\shutdown-record.txt'
c="$WINEPREFIX/drive_c"

case "$locale" in
  ja*) l=ja cp=CP932 common=Common_JA other=Common_EN key=JA
       main="トルヴァネ ver6.01 for WindowsXP" setup_end="トルヴァネ セットアップ" script_box="トルヴァネ"
       agreement="使用許諾契約書" install=インストール uninstall_button=アンインストール
       no_sections="インストーラのセクションがひとつもありません" stop="。" ;;
  *)   l=en cp=CP1252 common=Common_EN other=Common_JA key=EN
       main="Kelvorin ver6.01 for WindowsXP" setup_end="Pelrond Grellow Setup" script_box="Kelvorin"
       agreement="Licence agreement" install=Install uninstall_button=Uninstall
       no_sections="holds none of the installer's sections" stop="." ;;
esac

# launch FOLDER EXE ARG...: a program of the prefix in its folder, in the background.
launch() {
  dir=$1; shift
  (cd "$dir" && wine "$@" >/dev/null 2>&1) &
  pid=$!
}
# Wine's own list of uninstall entries.
entries() { (cd "$c" && wine uninstaller --list 2>/dev/null | iconv -f "$cp" -t UTF-8 | tr -d '\r'); }
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TOLVANE'
suite='HKLM\Software\Tazet\Tolvane'
value() { regq "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
unix() { printf '%s' "$1" | sed 's|^C:\\|'"$c"'/|; s|\\|/|g'; }
folder() {  # a shell folder of the account, as the programs read it
  regq 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v "$1" |
    sed -n "s/^ *$1 *REG_SZ *//p"
}
target() { lnkinfo "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^[[:space:]]*Local path[[:space:]]*: //p' | head -n1; }
# read SECTION KEY: the list's value as Wine's profile functions read it.
list='C:\setup\nistrel.ini'
read_list() { driver profile "$list" "$1" "$2"; }
# listed SECTION: the section's files in the list's order, as the
# list holds them (Wine's profile functions are asked for a few of them).
iconv -f UTF-16 -t UTF-8 "$dist/nistrel.ini" | tr -d '\r' >"$work/list.txt"
listed() {
  awk -v s="[$1]" '/^\[/ { on = tolower($0) == tolower(s); next }
    on && /^[Ff][Ii][Ll][Ee][0-9]+=/ { sub(/^[^=]*=/, ""); print }' "$work/list.txt" |
    awk 'NF == 0 { exit } { print }'
}
# painted CAPTION FILE: a screenshot once the window shows painted: two shots
# in a row alike, and not mostly black.
painted() {
  previous="" i=0
  while [ $i -lt 50 ]; do
    shot "$1" "$2"
    now=$(convert "$2" -format '%#' info:)
    light=$(convert "$2" -colorspace Gray -format '%[fx:mean > 0.3 ? 1 : 0]' info:)
    [ "$now" = "$previous" ] && [ "$light" = 1 ] && return 0
    previous=$now i=$((i + 1))
    sleep 0.2
  done
  fail "'$1' never showed painted ($2)"
}
# box: the text of the message box over the installer's window, which has
# the same caption (the application title), once it shows.
box() {
  i=0
  while [ $i -lt 50 ]; do
    text=$(driver message "$main" 2>/dev/null || true)
    [ -n "$text" ] && { printf '%s\n' "$text"; return 0; }
    i=$((i + 1))
    sleep 0.2
  done
  return 1
}
# nothing_installed WHAT: no trace of an install.
nothing_installed() {
  [ ! -e "$c/Program Files/Tolvane" ] || fail "$1: the installation folder was made: $(ls "$c/Program Files/Tolvane")"
  [ ! -e "$menu" ] || fail "$1: the Start-menu folder was made"
  [ ! -e "$desktop/$tool_link" ] || fail "$1: a desktop shortcut was made"
  ! key_exists "$entry" || fail "$1: an uninstall entry was written: $(regq "$entry")"
  ! entries | grep -q "^TOLVANE|" || fail "$1: uninstaller --list shows the entry: $(entries)"
  ! key_exists "$suite" || fail "$1: the suite key was written: $(regq "$suite")"
}

cp -r "$dist" "$c/setup"
# The list reads the same on this system as it was written.
[ "$(read_list Tolvane JA)" = "トルヴァネ" ] || fail "the list's [Tolvane] JA reads '$(read_list Tolvane JA)'"
[ "$(read_list Common_JA JA)" = "トルヴァネ セットアップ" ] || fail "[Common_JA] JA reads '$(read_list Common_JA JA)'"
[ "$(read_list Common_EN EN)" = "Kelvorin Setup" ] || fail "[Common_EN] EN reads '$(read_list Common_EN EN)'"
listed Tolvane >"$work/tolvane"
listed pavrel >"$work/pavrel"
listed "$common" >"$work/common"
listed "$other" >"$work/other"
[ "$(head -n1 "$work/tolvane")" = tolvane.exe ] || fail "[Tolvane] File1: $(head -n1 "$work/tolvane")"
for f in "Tolvane File1 tolvane.exe" "Tolvane File$(wc -l <"$work/tolvane") $(tail -n1 "$work/tolvane")" \
         "$common File2 nistrel.ini"; do
  set -- $f
  [ "$(read_list "$1" "$2")" = "$3" ] || fail "[$1] $2 reads '$(read_list "$1" "$2")' on this system, not $3"
done
cat "$work/tolvane" "$work/pavrel" "$work/common" >"$work/installed"
grep -qx nistrel.exe "$work/common" && grep -qx nistrel.ini "$work/common" || fail "[$common]: $(cat "$work/common")"
# Every listed file is in the folder under the name the list gives it, and every file is listed.
while read -r f; do [ -f "$dist/$f" ] || fail "the list names $f, which the folder lacks"; done <"$work/installed"
for f in $(ls "$dist"); do
  cat "$work/installed" "$work/other" | grep -qix "$f" || fail "$f is in the folder but not in the list"
done
menu_name=$(read_list Tolvane "$key")
tool_link="$menu_name.LNK"
menu="$(unix "$(folder Programs)")/$menu_name"
desktop=$(unix "$(folder Desktop)")

# The agreement and the choice page, then Cancel ends without a trace.
launch "$c/setup" 'C:\setup\nistrel.exe'
driver find "$main" || fail "no installer window"
driver text "$main" mmReadme | grep -q "$agreement" || fail "the agreement is not shown"
painted "$main" "$shots/nistrel-agreement-$l.png"
driver click "$main" buNext
[ "$(driver text "$main" buNext)" = "$install" ] || fail "not the choice page: $(driver text "$main" buNext)"
[ "$(driver text "$main" edFolder)" = 'C:\Program Files\Tolvane' ] || fail "folder: $(driver text "$main" edFolder)"
painted "$main" "$shots/nistrel-choice-$l.png"
driver click "$main" buCancel
ended || fail "Cancel did not end the installer"
nothing_installed "Cancel"

# Damaged lists: 3,000 bytes of a program, and the list without this
# system's setup section. Each is refused on Install, naming what is
# missing; the window stays on its choice page and nothing is written.
mkdir "$c/program" "$c/nosetup"
cp -r "$dist/." "$c/program/"
head -c 3000 "$dist/nistrel.exe" >"$c/program/nistrel.ini"
cp -r "$dist/." "$c/nosetup/"
iconv -f UTF-16 -t UTF-8 "$dist/nistrel.ini" |
  awk -v s="[$common]" '/^\[/ { skip = substr($0, 1, length(s)) == s } !skip' >"$work/nosetup.ini"
grep -q "^\[$common\]" "$work/nosetup.ini" && fail "the damaged list still holds [$common]"
{ printf '\377\376'; iconv -f UTF-8 -t UTF-16LE "$work/nosetup.ini"; } >"$c/nosetup/nistrel.ini"
for damaged in "program=$no_sections" "nosetup=[$common]"; do
  d=${damaged%%=*} named=${damaged#*=}
  launch "$c/$d" "C:\\$d\\nistrel.exe"
  driver find "$main" || fail "$d: no installer window"
  driver click "$main" buNext
  driver click "$main" buNext
  text=$(box) || fail "$d: no refusal"
  case "$text" in *"C:\\$d\\nistrel.ini"*"$named"* | *"$named"*"C:\\$d\\nistrel.ini"*) ;;
    *) fail "$d: the refusal does not name the list and what is missing: $text" ;; esac
  case "$text" in *"$stop") ;; *) fail "$d: the refusal does not end with '$stop': $text" ;; esac
  case "$text" in *"$stop.") fail "$d: the refusal ends with two full stops: $text" ;; esac
  driver answer "$main" ok
  [ "$(driver text "$main" buNext)" = "$install" ] || fail "$d: the window left its choice page"
  driver click "$main" buCancel
  ended || fail "$d: the installer did not end"
  nothing_installed "$d"
done

# Install with every box ticked into the folder it proposes.
launch "$c/setup" 'C:\setup\nistrel.exe'
driver find "$main" || fail "no installer window"
driver click "$main" buNext
driver click "$main" buNext
painted "$setup_end" "$shots/nistrel-finished-$l.png"
driver answer "$setup_end" ok || fail "no end message: $(driver message "" 2>&1)"
ended || fail "the installer did not end"

inst="$c/Program Files/Tolvane"
while read -r f; do cmp -s "$dist/$f" "$inst/$f" || fail "$f was not installed"; done <"$work/installed"
while read -r f; do
  grep -qix "$f" "$work/installed" || [ ! -e "$inst/$f" ] || fail "$f of [$other] was installed"
done <"$work/other"
# The shortcuts: one for each installed section with files, named by the
# list for this system, and the desktop's; each a link that lnkinfo reads.
for section in Tolvane pavrel "$common"; do
  printf '%s/%s.LNK=%s\n' "$menu" "$(read_list "$section" "$key")" "$(read_list "$section" File1)"
done >"$work/links"
printf '%s/%s=tolvane.exe\n' "$desktop" "$tool_link" >>"$work/links"
while IFS= read -r link; do
  file=${link%=*} program=${link##*=}
  [ -f "$file" ] || fail "no shortcut $file"
  t=$(target "$file")
  [ "$t" = "C:\\Program Files\\Tolvane\\$program" ] || fail "$file points at '$t': $(lnkinfo "$file" 2>&1 | tail -n 20)"
done <"$work/links"
[ ! -e "$menu/$(read_list Mortavel "$key").LNK" ] || fail "a sibling without files got a shortcut"
entries | grep -qx "TOLVANE|||$main" || fail "uninstaller --list: $(entries)"
uninstall=$(value "$entry" UninstallString)
[ "$uninstall" = '"C:\Program Files\Tolvane\NISTREL.EXE" /U' ] || fail "UninstallString: $uninstall"
[ "$(value "$entry" InstallLocation)" = 'C:\Program Files\Tolvane' ] || fail "InstallLocation: $(regq "$entry")"
[ "$(value "$entry" Publisher)" = Tazet ] || fail "Publisher: $(regq "$entry")"
[ "$(value "$suite" InstalledDir)" = 'C:\Program Files\Tolvane' ] || fail "InstalledDir: $(regq "$suite")"
[ "$(value "$suite" RestorePointCreated)" = 0x0 ] || fail "RestorePointCreated: $(regq "$suite")"

# The settings tool starts from the installed folder and finds its script there.
launch "$inst" 'C:\Program Files\Tolvane\tolvane.exe'
driver answer "$script_box" ok || fail "the installed settings tool did not run its restore-point script"
driver find "$main" || fail "the installed settings tool shows no window"
[ "$(value "$suite" RestorePointCreated)" = 0x1 ] || fail "RestorePointCreated after the start: $(regq "$suite")"
driver click "$main" sbStop
ended || fail "the settings tool did not close"

# The entry's own command uninstalls, started as the shell starts it (it
# keeps the driver's handles, so they go nowhere).
sh "$src/scripts/wine-run.sh" "$driver_exe" exec "$uninstall" </dev/null >/dev/null 2>&1
driver find "$main" || fail "no uninstall window"
[ "$(driver text "$main" buNext)" = "$uninstall_button" ] || fail "not the uninstall page: $(driver text "$main" buNext)"
painted "$main" "$shots/nistrel-uninstall-$l.png"
driver click "$main" buNext
painted Uninstall "$shots/nistrel-uninstalled-$l.png"
driver answer Uninstall ok || fail "no uninstall message"
driver gone "$main" || fail "the uninstaller did not end"
while read -r f; do
  # The running uninstaller cannot delete itself on XP; Wine may let it.
  [ "$f" = nistrel.exe ] && continue
  [ ! -e "$inst/$f" ] || fail "$f stayed after the uninstall"
done <"$work/installed"
[ -d "$inst" ] || fail "the installation folder itself went"
[ ! -e "$menu" ] || fail "the Start-menu folder stayed: $(ls "$menu")"
[ ! -e "$desktop/$tool_link" ] || fail "the desktop shortcut stayed"
! entries | grep -q "^TOLVANE|" || fail "uninstaller --list still shows the entry: $(entries)"
! key_exists "$entry" || fail "the entry stayed: $(regq "$entry")"
[ "$(value "$suite" InstalledDir)" = 'C:\Program Files\Tolvane' ] || fail "the suite key went"
wineserver -k 2>/dev/null || true
echo "PASS: nistrel installs and uninstalls under Wine ($l)"
