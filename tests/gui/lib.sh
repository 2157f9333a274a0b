# Sourced by the Wine GUI tests. Before sourcing, set `src` to the source
# tree and `SUITE_WINEPREFIX` to the test's prefix (made here when missing).
# Gives: wine and wineserver of the Wine road, driver (the GUI test driver of
# the build tree), start (a program in the background), regq (Wine's own
# reg query), shot (a screenshot of a top-level window), on_exit, fail.
. "$src/scripts/wine-env.sh"
# An interrupted test runs its exit trap too.
trap 'exit 1' INT TERM HUP
# Under own-display.sh, the prefix is written down (once made, with the
# device and inode that name its Wine server) so its server stops with the
# test's display however the test ends, even once the test removed the prefix.
case "$SUITE_WINEPREFIX" in /*) gui_prefix=$SUITE_WINEPREFIX ;; *) gui_prefix=$(pwd)/$SUITE_WINEPREFIX ;; esac
[ -z "$SUITE_GUI_PREFIXES" ] || printf -- '-\t%s\n' "$gui_prefix" >>"$SUITE_GUI_PREFIXES"
sh "$src/scripts/wine-prefix.sh" "$SUITE_WINEPREFIX"
export SUITE_WINEPREFIX WINEPREFIX="$(cd "$SUITE_WINEPREFIX" && pwd)" WINEDEBUG=-all
export HOME="$WINEPREFIX/home"
[ -z "$SUITE_GUI_PREFIXES" ] ||
  printf '%s-%x\t%s\n' "$(stat -c %D "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")" "$WINEPREFIX" >>"$SUITE_GUI_PREFIXES"
# The driver lies in the tree's tests/gui/wine-files.
gui_tree=${gui_tree:-$(d=$(pwd); while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done; echo "$d")}
driver_exe="$gui_tree/tests/gui/wine-files/driver.exe"
fail() { printf "FAIL: %s\n" "$*"; wineserver -k 2>/dev/null || true; exit 1; }
driver() { sh "$src/scripts/wine-run.sh" "$driver_exe" "$@" | tr -d '\r'; }
# start EXE ARG...: the program in the background, its process id in $pid.
start() { exe=$1; shift; sh "$src/scripts/wine-run.sh" "$exe" "$@" >/dev/null 2>&1 & pid=$!; }
# ended: waits (up to 20 s) for the program of $pid to end.
ended() {
  i=0
  while kill -0 "$pid" 2>/dev/null && [ $i -lt 40 ]; do sleep 0.5; i=$((i + 1)); done
  ! kill -0 "$pid" 2>/dev/null
}
# on_exit COMMANDS: the test's exit trap.
# The prefix's Wine server is stopped first, while the prefix that names it is
# still there.
on_exit() { trap "wineserver -k 2>/dev/null || true; $1" EXIT; }
regq() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# shot CAPTION FILE: the window with that caption as a PNG.
shot() { sh "$src/scripts/screenshot.sh" "$1" "$2" >/dev/null || fail "no screenshot of '$1'"; }
