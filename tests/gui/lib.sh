# Sourced by the Wine GUI tests. Before sourcing, set `src` to the source
# tree and `SUITE_WINEPREFIX` to the test's prefix (made here when missing).
# Gives: wine and wineserver of the Wine road, driver (the GUI test driver of
# the build tree), start (a program in the background), regq (Wine's own
# reg query), shot (a screenshot of a top-level window), applied (the
# settings tool's apply ended), on_exit, fail.
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
# The prefix's Wine server runs for the whole test. By default a server ends
# a few seconds after its last program; a program started just then (a reg
# query after the program under test ended) can meet the ending server.
wineserver -p </dev/null >/dev/null 2>&1 || true
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
# driver_once COMMAND ARG...: one driver program for the call: its words
# without carriage returns, and its status (kept past the test's set -e,
# which would end the pipe's left side before it wrote the status down).
driver_status=${driver_status:-$(mktemp)}
driver_once() {
  { driver_rc=0; sh "$src/scripts/wine-run.sh" "$driver_exe" "$@" || driver_rc=$?; echo $driver_rc >"$driver_status"; } |
    tr -d '\r'
  return "$(cat "$driver_status")"
}
# driver COMMAND ARG...: the same, answered by one driver program that serves
# the test (a program start costs more than most commands), through two
# pipes. Once what the driver runs on changed (the language, the prefix, the
# limit of the waits), another driver serves. Each request carries a number
# of its own that its answer ends with, so a caller that stopped reading (a
# grep -q satisfied) leaves nothing behind for the next. The driver stops
# before the prefix's server does. A program that a driver starts (exec)
# inherits its handles and environment: those calls have a driver of their
# own.
driver_dir=${driver_dir:-$(mktemp -d)}
# (a driver writes its errors to the test's own error output, descriptor 5:
# one started inside a command substitution must not hold its pipe open)
[ -n "$driver_err" ] || { exec 5>&2; driver_err=5; }
driver_us=$(printf '\037') driver_rs=$(printf '\036')
# driver_alive PID: the driver runs (not ended, nor a child that ended and
# waits to be reaped, which kill -0 still finds).
driver_alive() { case $(cat "/proc/$1/stat" 2>/dev/null) in "" | *") Z "*) return 1 ;; esac; }
driver_stop() {
  [ -f "$driver_dir/s/pid" ] || return 0
  read -r driver_p <"$driver_dir/s/pid" || true
  rm -rf "$driver_dir/s"
  kill -KILL "$driver_p" 2>/dev/null || true
  wait "$driver_p" 2>/dev/null || true
}
driver() {
  case $1 in exec|exec-painted) driver_once "$@"; return ;; esac
  driver_d="$driver_dir/s"
  driver_key="${SUITE_LANG:-}|${SUITE_GUI_WAIT:-}|${WINEDEBUG:-}|$WINEPREFIX"
  driver_p="" driver_k=""
  [ ! -f "$driver_d/pid" ] || { read -r driver_p <"$driver_d/pid"; read -r driver_k <"$driver_d/key"; } || true
  if [ -z "$driver_p" ] || [ "$driver_k" != "$driver_key" ] || ! driver_alive "$driver_p"; then
    driver_stop
    mkdir -p "$driver_d"
    mkfifo "$driver_d/in" "$driver_d/out"
    # (both opened for reading and writing: no open waits for the other
    # side, and the driver's input never ends between requests)
    sh "$src/scripts/wine-run.sh" "$driver_exe" serve 0<>"$driver_d/in" 1<>"$driver_d/out" 2>&5 6<&- 7>&- &
    driver_p=$!
    printf '%s\n' "$driver_key" >"$driver_d/key"
    echo "$driver_p" >"$driver_d/pid"
  fi
  read -r driver_id </proc/sys/kernel/random/uuid
  driver_line=$driver_id
  for driver_word; do driver_line="$driver_line$driver_us$driver_word"; done
  # A watch answers for a driver that ended without an answer, or that gave
  # none while three waits could have run out (it hangs on the program): so
  # the call fails, and says so, instead of hanging the test. It ends once
  # the answer came (a file tells it: a signal sent right after its start
  # can be lost before the shell in it takes signals).
  driver_done="$driver_dir/answered.$driver_id"
  (
    driver_n=$((${SUITE_GUI_WAIT:-60} * 3 * 5))
    while [ ! -e "$driver_done" ] && [ -d "$driver_d" ] && driver_alive "$driver_p" && [ $driver_n -gt 0 ]; do
      sleep 0.2; driver_n=$((driver_n - 1))
    done
    # (a driver stopped on purpose loses its folder first)
    if [ -e "$driver_done" ] || [ ! -d "$driver_d" ]; then
      rm -f "$driver_done"; exit 0
    elif driver_alive "$driver_p"; then
      echo "driver: no answer to \"$*\" in $((${SUITE_GUI_WAIT:-60} * 3)) s; the driver still runs" >&2
    else
      echo "driver: the driver ended without an answer to \"$*\"" >&2
    fi
    : >"$driver_dir/watched"
    printf '%s%s%s1\n' "$driver_rs" "$driver_id" "$driver_us" >"$driver_d/out"
  ) </dev/null >/dev/null 2>&5 6<&- 7>&- &
  driver_answer=""
  {
    printf '%s\n' "$driver_line" >&7
    while IFS= read -r driver_out <&6; do
      case $driver_out in
        "$driver_rs$driver_id$driver_us"*) break ;;
        "$driver_rs"*) driver_answer="" ;;  # the rest of an answer nobody read
        *) driver_answer="$driver_answer$driver_out
" ;;
      esac
    done
  } 7<>"$driver_d/in" 6<>"$driver_d/out"
  : >"$driver_done"
  printf '%s' "$driver_answer"
  driver_rc=${driver_out#"$driver_rs$driver_id$driver_us"}
  # (a driver that the watch answered for serves no more)
  if [ -f "$driver_dir/watched" ]; then rm -f "$driver_dir/watched"; driver_stop; fi
  return "$driver_rc"
}
# The prefix's server stops (and with it every program of the prefix) only
# after the serving driver.
wineserver() { driver_stop; "$WINESERVER" "$@"; }
# start EXE ARG...: the program in the background, its process id in $pid,
# what it writes kept for a failure's message.
start_log=${start_log:-$(mktemp)}
start() {
  exe=$1; shift
  start_exe=$(basename "$exe")
  sh "$src/scripts/wine-run.sh" "$exe" "$@" >"$start_log" 2>&1 6<&- 7>&- &
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
on_exit() { trap "wineserver -k 2>/dev/null || true; rm -rf \"\$driver_status\" \"\$start_log\" \"\$driver_dir\"; $1" EXIT; }
# regq ARG...: what Wine's reg query shows; a start that failed (a status
# above reg's 1 for a missing key, or Wine's own complaint) is told on the
# test's error output.
regq() {
  regq_rc=0
  regq_out=$(wine reg query "$@" 2>"$driver_dir/reg.err") || regq_rc=$?
  if [ "$regq_rc" -gt 1 ] || grep -v 'could not open working directory' "$driver_dir/reg.err" | grep -q '^wine\|err:'; then
    printf 'regq %s: status %s: %s\n' "$*" "$regq_rc" "$(cat "$driver_dir/reg.err")" >&5
  fi
  [ -z "$regq_out" ] || printf '%s\n' "$regq_out" | tr -d '\r'
}
# applied: the settings tool's apply in the window $main has ended: Apply is
# disabled again (the apply ends after its last box has gone).
applied() {
  applied_state=$(driver enabled "$main" sbPlay 0 || true)
  [ "$applied_state" = 0 ] || fail "Apply stays enabled after the apply (the driver: $applied_state)"
}
# shot CAPTION FILE: the window with that caption as a PNG, once it has
# painted all it was asked to.
shot() {
  driver settled "$1" || fail "the window '$1' does not settle for its screenshot"
  sh "$src/scripts/screenshot.sh" "$1" "$2" >/dev/null || fail "no screenshot of '$1'"
}
