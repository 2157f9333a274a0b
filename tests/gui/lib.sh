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
# fail WHY: the failure, with how the program started last stands (still
# running, or ended with its status, and what it wrote), then the end.
fail() {
  printf "FAIL: %s\n" "$*"
  if [ -n "$start_exe" ] && [ -n "$pid" ]; then
    if kill -0 "$pid" 2>/dev/null; then
      echo "(the program started last, $start_exe, still runs)"
    else
      start_rc=0; wait "$pid" 2>/dev/null || start_rc=$?
      echo "(the program started last, $start_exe, ended with status $start_rc)"
    fi
    [ ! -s "$start_log" ] || { echo "(its output:)"; tail -n 20 "$start_log"; }
  fi
  wineserver -k 2>/dev/null || true
  exit 1
}
# driver COMMAND ARG...: its words without carriage returns, and its status
# (kept past the test's set -e, which would end the pipe's left side before
# it wrote the status down: a failed call would return the last call's).
driver_status=${driver_status:-$(mktemp)}
driver() {
  { driver_rc=0; sh "$src/scripts/wine-run.sh" "$driver_exe" "$@" || driver_rc=$?; echo $driver_rc >"$driver_status"; } |
    tr -d '\r'
  return "$(cat "$driver_status")"
}
# start EXE ARG...: the program in the background, its process id in $pid,
# what it writes kept for a failure's message.
start_log=${start_log:-$(mktemp)}
start() {
  exe=$1; shift
  start_exe=$(basename "$exe")
  sh "$src/scripts/wine-run.sh" "$exe" "$@" >"$start_log" 2>&1 &
  pid=$!
}
# ended: waits for the program of $pid to end.
ended() {
  gui_until=$(($(date +%s) + ${SUITE_GUI_WAIT:-60}))
  while kill -0 "$pid" 2>/dev/null && [ "$(date +%s)" -lt $gui_until ]; do sleep 0.05; done
  ! kill -0 "$pid" 2>/dev/null
}
# await WHAT COMMAND...: until the command succeeds, else a failure naming
# WHAT (for a condition that no driver command waits for: a file, a value).
await() {
  what=$1; shift
  gui_until=$(($(date +%s) + ${SUITE_GUI_WAIT:-60}))
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -lt $gui_until ] || fail "waited ${SUITE_GUI_WAIT:-60} s in vain for $what"
    sleep 0.05
  done
}
# on_exit COMMANDS: the test's exit trap.
# The prefix's Wine server is stopped first, while the prefix that names it is
# still there.
on_exit() { trap "wineserver -k 2>/dev/null || true; rm -f \"\$driver_status\" \"\$start_log\"; $1" EXIT; }
regq() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# shot CAPTION FILE: the window with that caption as a PNG, once it has
# painted all it was asked to.
shot() {
  driver settled "$1" || fail "the window '$1' does not settle for its screenshot"
  sh "$src/scripts/screenshot.sh" "$1" "$2" >/dev/null || fail "no screenshot of '$1'"
}
