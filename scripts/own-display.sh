#!/bin/sh
# Runs a Wine GUI test on an X display of its own, so that such tests run
# side by side: a private Xvfb is started, the test runs as a child (its own
# exit traps stay its own), and however the test ends, the Wine servers of
# the prefixes it used and then the display stop. A prefix is known from
# SUITE_WINEPREFIX when set here, and from lib.sh, which writes down each
# prefix it sets up with the device and inode that name its server.
# Usage: own-display.sh COMMAND ARG...
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/xvfb.sh"
SUITE_GUI_PREFIXES=$(mktemp)
export SUITE_GUI_PREFIXES
xvfb_start
if [ "$DISPLAY" = ":" ]; then
  echo "own-display: Xvfb gave no display" >&2
  xvfb_stop; rm -f "$SUITE_GUI_PREFIXES"; exit 1
fi
# (a prefix named here may not be made yet: it stays, and is found by its path)
[ -z "$SUITE_WINEPREFIX" ] || printf -- '-\t%s\n' "$SUITE_WINEPREFIX" >>"$SUITE_GUI_PREFIXES"
# stop_wine ID PREFIX: the prefix's server by the prefix, or, once the prefix
# is gone, the server process that runs in the folder named after its ID.
stop_wine() {
  if [ -d "$2" ]; then
    WINEPREFIX=$2 wineserver -k 2>/dev/null || true
    return
  fi
  for d in /proc/[0-9]*; do
    case "$(readlink "$d/cwd" 2>/dev/null)" in
      */server-"$1") kill -9 "${d#/proc/}" 2>/dev/null || true ;;
    esac
  done
}
child=""
stop() {
  while IFS="$(printf '\t')" read -r id p; do stop_wine "$id" "$p"; done <"$SUITE_GUI_PREFIXES"
  rm -f "$SUITE_GUI_PREFIXES"
  xvfb_stop
}
# The test runs in a process group of its own (setsid: as a background job
# it is no group leader, so it keeps its process id): an interrupt reaches
# the programs it waits for too (a prefix being made, a driver call).
trap '[ -z "$child" ] || { kill -TERM -"$child" 2>/dev/null; wait "$child"; }; stop; exit 1' INT TERM HUP
setsid "$@" &
child=$!
wait "$child"
status=$?
child=""
stop
exit $status
