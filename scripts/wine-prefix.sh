#!/bin/sh
# Makes the private Wine prefix of a build tree, once, set to Windows XP, with
# no drive but C: (Z: would expose the host's root to the programs), real
# profile folders, the fonts the programs name, no crash dialog, and windows
# that need no window manager (the tests' display has none; the run command
# turns this back on a user's display). The prefix is 32- or 64-bit as the
# Wine road says (wine-env.sh). It is marked ready only once it works.
# Usage: wine-prefix.sh PREFIX_DIR
set -e
prefix=$1
[ -n "$prefix" ] || { echo "usage: $0 PREFIX_DIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
stamp="$prefix/.suite-ready"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$SUITE_WINE_ROAD" ] && exit 0
# An unfinished or other-road prefix is made anew; anything else is left alone.
if [ -d "$prefix" ] && [ -n "$(ls -A "$prefix")" ] && [ ! -f "$prefix/system.reg" ] && [ ! -d "$prefix/drive_c" ]; then
  echo "wine-prefix: $prefix is not empty and holds no Wine prefix; not touched" >&2
  exit 1
fi
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX="$(cd "$prefix" && pwd)" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=
# Wine links the profile folders (Desktop, Documents...) to $HOME: give it a
# home inside the prefix, and replace the links by real folders below.
export HOME="$WINEPREFIX/home"
mkdir -p "$HOME"
log="$WINEPREFIX/make-prefix.log"
fail() {
  echo "wine-prefix: could not make the $SUITE_WINE_ROAD prefix $WINEPREFIX: $1" >&2
  [ -s "$log" ] && tail -n 20 "$log" >&2
  exit 1
}
wine wineboot -i >"$log" 2>&1 || fail "wineboot failed"
wineserver -w
reg() { wine reg "$@" >>"$log" 2>&1 || fail "reg $*"; }
reg add 'HKCU\Software\Wine' /v Version /d winxp /f
reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d "" /f
reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
# Fonts. The Japanese faces take a Japanese font that draws the yen sign of
# code page 932 at the backslash, as on a Japanese system; the English faces
# take a font with a backslash there and Japanese glyphs too. Wine points
# "MS Shell Dlg" (title bars, message boxes) at "MS UI Gothic" or Tahoma by
# the locale and follows one substitution only, so those two are real faces
# (replacements), not substitutes.
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for f in "ＭＳ Ｐゴシック" "ＭＳ ゴシック"; do reg add "$subst" /v "$f" /d "IPAPGothic" /f; done
for f in "MS Sans Serif" "Arial"; do reg add "$subst" /v "$f" /d "IPAexGothic" /f; done
replace='HKCU\Software\Wine\Fonts\Replacements'
reg add "$replace" /v "MS UI Gothic" /d "IPAPGothic" /f
reg add "$replace" /v "Tahoma" /d "IPAexGothic" /f
wineserver -w
# Only C: stays.
for d in "$WINEPREFIX"/dosdevices/*; do
  case "$(basename "$d")" in c:) ;; *) rm -f "$d" ;; esac
done
# The profile folders become real folders of the prefix, so a program that
# makes or removes a shell folder never reaches the host.
for l in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$l" ]; then rm -f "$l"; mkdir -p "$l"; fi
done
# It works when a program of the prefix starts and reads the XP version back.
out=$(wine reg query 'HKCU\Software\Wine' /v Version 2>>"$log" | tr -d '\r') || fail "reg query did not run"
echo "$out" | grep -q 'Version *REG_SZ *winxp' || fail "the XP version does not read back: $out"
wineserver -w
echo "$SUITE_WINE_ROAD" >"$stamp"
