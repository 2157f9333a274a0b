#!/bin/sh
# Makes the private 32-bit Wine prefix of a build tree, once, set to Windows XP,
# with no drive but C: (Z: would expose the host's root to the programs).
# Usage: wine-prefix.sh PREFIX_DIR
set -e
prefix=$1
[ -n "$prefix" ] || { echo "usage: $0 PREFIX_DIR" >&2; exit 2; }
stamp="$prefix/.suite-ready"
[ -f "$stamp" ] && exit 0
mkdir -p "$prefix"
export WINEPREFIX="$(cd "$prefix" && pwd)" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=
# Wine links the profile folders (Desktop, Documents...) to $HOME: give it a
# home inside the prefix, and replace the links by real folders below.
export HOME="$WINEPREFIX/home"
mkdir -p "$HOME"
wineboot -i >/dev/null 2>&1 || true
wineserver -w
reg() { wine reg "$@" >/dev/null 2>&1; }
reg add 'HKCU\Software\Wine' /v Version /d winxp /f
reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d "" /f
reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
for f in "ＭＳ Ｐゴシック" "ＭＳ ゴシック" "MS UI Gothic" "MS Sans Serif" "MS Shell Dlg" "Tahoma" "Arial"; do
  reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$f" /d "IPAPGothic" /f
done
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
touch "$stamp"
