# Sourced by the Wine GUI tests. Before sourcing, set `src` to the source
# tree and `SUITE_WINEPREFIX` to the test's prefix (made here when missing).
# Gives: wine and wineserver of the Wine road, driver (the GUI test driver of
# the build tree), start (a program in the background), regq (Wine's own
# reg query), shot (a screenshot of a top-level window), on_exit, fail.
# Every wait of the driver and here ends when its condition holds; only a
# fault reaches the limit, SUITE_GUI_WAIT seconds (60).
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
# driver COMMAND ARG...: its words without carriage returns, and its status.
driver_status=${driver_status:-$(mktemp)}
driver() {
  { sh "$src/scripts/wine-run.sh" "$driver_exe" "$@"; echo $? >"$driver_status"; } | tr -d '\r'
  return "$(cat "$driver_status")"
}
# start EXE ARG...: the program in the background, its process id in $pid.
start() { exe=$1; shift; sh "$src/scripts/wine-run.sh" "$exe" "$@" >/dev/null 2>&1 & pid=$!; }
# ended: waits for the program of $pid to end.
ended() {
  i=0
  while kill -0 "$pid" 2>/dev/null && [ $i -lt $((${SUITE_GUI_WAIT:-60} * 5)) ]; do sleep 0.2; i=$((i + 1)); done
  ! kill -0 "$pid" 2>/dev/null
}
# await WHAT COMMAND...: until the command succeeds, else a failure naming
# WHAT (for a condition that no driver command waits for: a file, a value).
await() {
  what=$1; shift
  i=0
  until "$@" >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt $((${SUITE_GUI_WAIT:-60} * 5)) ] || fail "waited ${SUITE_GUI_WAIT:-60} s in vain for $what"
    sleep 0.2
  done
}
# on_exit COMMANDS: the test's exit trap.
# The prefix's Wine server is stopped first, while the prefix that names it is
# still there.
on_exit() { trap "wineserver -k 2>/dev/null || true; rm -f \"\$driver_status\"; $1" EXIT; }
regq() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# shot CAPTION FILE: the window with that caption as a PNG, once it has
# painted all it was asked to.
shot() {
  driver settled "$1" || fail "the window '$1' does not settle for its screenshot"
  sh "$src/scripts/screenshot.sh" "$1" "$2" >/dev/null || fail "no screenshot of '$1'"
}
