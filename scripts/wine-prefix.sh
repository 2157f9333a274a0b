#!/bin/sh
# Makes a private Wine prefix, once, set to Windows XP, with no drive but C:
# (Z: would expose the host's root to the programs), real profile folders,
# the fonts the programs name, no crash dialog, and windows that need no
# window manager (the tests' display has none; the run command turns this
# back on a user's display). The prefix is 32- or 64-bit as the Wine road
# says (wine-env.sh). It is marked ready only once it works.
#
# Wine's first start of a prefix takes a minute on a loaded machine, so a
# build tree makes one prefix, its template (build/<tree>/wineprefix-template,
# or $SUITE_PREFIX_TEMPLATE), once, and every prefix of the tree is a copy of
# it: the tree's own, each test's own. A prefix outside any tree is made in
# place. Callers that ask for the same prefix at once wait for each other.
# Usage: wine-prefix.sh PREFIX_DIR
set -e
prefix=$1
[ -n "$prefix" ] || { echo "usage: $0 PREFIX_DIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
stamp="$prefix/.suite-ready"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$SUITE_WINE_ROAD" ] && exit 0

# The template is made anew when this script or the road changed.
template_mark="$SUITE_WINE_ROAD $(cksum <"$here/wine-prefix.sh" | cut -d' ' -f1)"
# How long a wait for another caller's prefix may take before it is a fault.
lock_limit=${SUITE_PREFIX_WAIT:-900}

# lock FD FILE [-s]: holds FILE's lock on descriptor FD (opened by the caller).
lock() {
  flock $3 -w "$lock_limit" "$1" ||
    { echo "wine-prefix: waited $lock_limit s in vain for $2 (another caller making a prefix holds it)" >&2; exit 1; }
}

# make_prefix DIR MARK: a new prefix in DIR, marked with MARK once it works.
make_prefix() (
  dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  export WINEPREFIX="$(cd "$dir" && pwd)" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export DISPLAY=
  # (Wine's processes do not hold the callers' locks)
  wine() { "$WINELOADER" "$@" 8>&- 9>&-; }
  wineserver() { "$WINESERVER" "$@" 8>&- 9>&-; }
  # Wine links the profile folders (Desktop, Documents...) to $HOME: give it
  # a home inside the prefix, and replace the links by real folders below.
  export HOME="$WINEPREFIX/home"
  mkdir -p "$HOME"
  cd "$WINEPREFIX"
  log="$WINEPREFIX/make-prefix.log"
  fail() {
    echo "wine-prefix: could not make the $SUITE_WINE_ROAD prefix $WINEPREFIX: $1" >&2
    [ -s "$log" ] && tail -n 20 "$log" >&2
    exit 1
  }
  # Wine's first start sets the prefix up from its setup file and writes the
  # file's time into .update-timestamp once done; a later start that finds
  # another time runs the whole set-up again, beside the program it starts.
  # So the set-up must have finished, and every Wine process of it ended (the
  # server stops only then), before anything else runs in the prefix.
  inf=""
  for f in /usr/share/wine/wine.inf /usr/local/share/wine/wine.inf; do [ -f "$f" ] && { inf=$f; break; }; done
  stamped() { tr -d '\r\n' <"$WINEPREFIX/.update-timestamp" 2>/dev/null; }
  updated() { [ -z "$inf" ] || [ "$(stamped)" = "$(stat -c %Y "$inf")" ]; }
  wine wineboot -i >"$log" 2>&1 || fail "wineboot -i failed"
  wineserver -w
  if ! updated; then
    wine wineboot -u >>"$log" 2>&1 || fail "wineboot -u failed"
    wineserver -w
    updated || fail "Wine's set-up did not finish: .update-timestamp holds '$(stamped)', $inf has the time $(stat -c %Y "$inf")"
  fi
  # The settings in one import, by one program start in the finished prefix.
  # Fonts: the Japanese faces take a Japanese font that draws the yen sign
  # of code page 932 at the backslash, as on a Japanese system; the English
  # faces take a font with a backslash there and Japanese glyphs too. Wine
  # points "MS Shell Dlg" (title bars, message boxes) at "MS UI Gothic" or
  # Tahoma by the locale and follows one substitution only, so those two are
  # real faces (replacements), not substitutes.
  mkdir -p "$WINEPREFIX/drive_c/suite"
  settings="$WINEPREFIX/drive_c/suite/prefix.reg"
  {
    printf '\357\273\277'
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine]' '"Version"="winxp"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]' '"winemenubuilder.exe"=""' '' \
      '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
      '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
      '"ＭＳ Ｐゴシック"="IPAPGothic"' '"ＭＳ ゴシック"="IPAPGothic"' \
      '"MS Sans Serif"="IPAexGothic"' '"Arial"="IPAexGothic"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"MS UI Gothic"="IPAPGothic"' '"Tahoma"="IPAexGothic"' ''
  } | iconv -f UTF-8 -t UTF-16LE >"$settings"
  wine reg import 'C:\suite\prefix.reg' >>"$log" 2>&1 || fail "reg import of the prefix's settings failed"
  rm -f "$settings"
  rmdir "$WINEPREFIX/drive_c/suite" 2>/dev/null || true
  # Only C: stays.
  for d in "$WINEPREFIX"/dosdevices/*; do
    case "$(basename "$d")" in c:) ;; *) rm -f "$d" ;; esac
  done
  # The profile folders become real folders of the prefix, so a program that
  # makes or removes a shell folder never reaches the host.
  for l in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$l" ]; then rm -f "$l"; mkdir -p "$l"; fi
  done
  # It works when a program of the prefix starts and reads the settings back.
  out=$(wine reg query 'HKCU\Software\Wine' /v Version 2>>"$log" | tr -d '\r') || fail "reg query did not run"
  echo "$out" | grep -q 'Version *REG_SZ *winxp' || fail "the XP version does not read back: $out"
  out=$(wine reg query 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma 2>>"$log" | tr -d '\r') || fail "reg query did not run"
  echo "$out" | grep -q 'Tahoma *REG_SZ *IPAexGothic' || fail "the font replacements do not read back: $out"
  # The server writes the registry to the prefix's files when it stops.
  wineserver -w
  updated || fail "a start of the configured prefix set Wine up again"
  echo "$2" >"$WINEPREFIX/.suite-ready"
)

# copy_prefix TEMPLATE DIR: DIR becomes a copy of the template. Wine's own
# programs and libraries (nine tenths of a prefix) are hard links: nothing
# writes them in place; every other file is a copy of its own.
copy_prefix() {
  rm -rf "$2" "$2.copying"
  mkdir -p "$2.copying"
  tar -C "$1" --exclude=./drive_c/windows/system32 --exclude=./.suite-ready --exclude=./wineserver -cf - . |
    tar -C "$2.copying" -xf -
  cp -al "$1/drive_c/windows/system32" "$2.copying/drive_c/windows/"
  find "$2.copying/drive_c/windows/system32" -type f \
       ! -regex '.*\.\(dll\|exe\|nls\|ocx\|drv\|cpl\|acm\|tlb\|ax\|com\|sys\|mui\)' \
       -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} +
  # Wine names the folder of a prefix's server at random on its first start
  # there and writes the name into the prefix: two programs started at once
  # in a new prefix would name two folders, and run under two servers that
  # do not see each other's windows (or one ends finding no server). The
  # name is written now, while nothing else runs there (a server stop does
  # it, and finds nothing to stop).
  WINEPREFIX="$(cd "$2.copying" && pwd)" "$WINESERVER" -k 8>&- 9>&- 2>/dev/null || true
  [ -s "$2.copying/wineserver" ] || [ ! -f "$1/wineserver" ] ||
    { echo "wine-prefix: Wine named no server folder in the copy $2" >&2; exit 1; }
  echo "$SUITE_WINE_ROAD" >"$2.copying/.suite-ready"
  rmdir "$2" 2>/dev/null || true
  mv "$2.copying" "$2"
}

# An unfinished or other-road prefix is made anew; anything else is left alone.
if [ -d "$prefix" ] && [ -n "$(ls -A "$prefix")" ] && [ ! -f "$prefix/system.reg" ] && [ ! -d "$prefix/drive_c" ]; then
  echo "wine-prefix: $prefix is not empty and holds no Wine prefix; not touched" >&2
  exit 1
fi
mkdir -p "$(dirname "$prefix")"
exec 8>"$prefix.lock"
lock 8 "$prefix.lock"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$SUITE_WINE_ROAD" ] && exit 0
# The build tree: the one the caller works in, else the one holding the prefix.
tree_of() {
  d=$1
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  [ -f "$d/CMakeCache.txt" ] && echo "$d"
}
tree=$(tree_of "$(pwd)" || tree_of "$(cd "$(dirname "$prefix")" && pwd)" || true)
template=${SUITE_PREFIX_TEMPLATE:-${tree:+$tree/wineprefix-template}}
if [ -z "$template" ]; then
  make_prefix "$prefix" "$SUITE_WINE_ROAD"
  exit 0
fi
mkdir -p "$(dirname "$template")"
exec 9>"$template.lock"
if [ "$(cat "$template/.suite-ready" 2>/dev/null)" != "$template_mark" ]; then
  lock 9 "$template.lock"
  [ "$(cat "$template/.suite-ready" 2>/dev/null)" = "$template_mark" ] || make_prefix "$template" "$template_mark"
  flock -u 9
fi
# (shared: copies are made side by side, the template is not made anew meanwhile)
lock 9 "$template.lock" -s
[ "$(cat "$template/.suite-ready" 2>/dev/null)" = "$template_mark" ] ||
  { echo "wine-prefix: the template $template changed while $prefix waited for it" >&2; exit 1; }
copy_prefix "$template" "$prefix"
