#!/bin/sh
# The start-up benchmark: the settings tool's start-up, the folder-icon
# tool's start-up and an apply with one box ticked to the log-off question,
# each beside two baselines: the bare one-window program (bench/bare.cpp)
# and, for the settings tool, the same-work program (bench/samework.cpp)
# that repeats what the tool did to the system, recorded here first; in one
# private prefix, rounds in alternating order after a warm-up; prints
# medians, their ratios, ranges and the peak working sets, then the
# stretches of each road (splash or progress form, window shown, idle)
# beside the same-work baseline's.
# Usage: sh bench/run.sh [TREE] [PAIRS]   (TREE: build/win64 by default;
# PAIRS: 11 by default, at least 10; 0 only records the same-work baseline's
# work and stops). Builds nothing: build the tree first. With BENCH_OTHER
# naming another build's tolvane.exe (say, of an earlier commit), its
# start-up and apply run in the same rounds too, for a before and after.
set -e
src=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$src/build/win64}" && pwd)
pairs=${2:-11}
. "$src/scripts/wine-env.sh"
if [ -z "$DISPLAY" ]; then . "$src/scripts/xvfb.sh"; xvfb_start; trap xvfb_stop EXIT INT TERM; fi
export SUITE_WINEPREFIX="$tree/bench-prefix"
sh "$src/scripts/wine-prefix.sh" "$SUITE_WINEPREFIX"
export WINEPREFIX="$(cd "$SUITE_WINEPREFIX" && pwd)" WINEDEBUG=-all HOME="$SUITE_WINEPREFIX/home"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
bin="$WINEPREFIX/drive_c/suite/bin"
mkdir -p "$bin" "$WINEPREFIX/drive_c/bench/Photos"
[ -n "$BENCH_OTHER" ] && cp -f "$BENCH_OTHER" "$bin/tolvane-other.exe"
cp -f "$tree/tolvane/tolvane.exe" "$tree/tamrel/tamrel.exe" "$tree/bench/bench_bare.exe" "$tree/bench/bench_launcher.exe" \
      "$tree/bench/bench_record.exe" "$tree/bench/bench_samework.exe" "$bin/"
# Nothing of the first run: no restore-point script box; the log-off
# request of the question goes nowhere.
wine reg add 'HKLM\Software\Tazet\Tolvane' /v RestorePointCreated /t REG_DWORD /d 1 /f >/dev/null 2>&1
export SUITE_SHUTDOWN_RECORD='C:\suite\bin\shutdown-record.txt'
main="トルヴァネ ver6.01 for WindowsXP"
launch() { (cd "$bin" && "$WINELOADER" 'C:\suite\bin\bench_launcher.exe' "$@" | tr -d '\r'); }
out=$(mktemp -d)
trap 'rm -rf "$out"; [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true' EXIT INT TERM
# measure NAME MODE WINDOW COMMAND [TAB BOX BUTTON]: one run, appended to NAME.
measure() {
  name=$1; shift
  line=$(launch "$@") || { echo "bench: $name failed: $line" >&2; exit 1; }
  echo "$line" | awk '{print $2, $3, $4, $5, $6, $7, $8}' >> "$out/$name"
}
# A round runs each figure's program and its two baselines (the one-window
# program and the same-work one); every second round in the other order.
round_no=0
start_tolvane() { measure tolvane start "$main" 'C:\suite\bin\tolvane.exe'; }
start_bare() { measure bare start Bare 'C:\suite\bin\bench_bare.exe'; }
start_same() { measure same start "$main" 'C:\suite\bin\bench_samework.exe start'; }
apply_tolvane() { measure apply apply "$main" 'C:\suite\bin\tolvane.exe' tsDesktop cbNoActiveDesktop sbPlay; }
apply_bare() { measure bare_apply apply Bare 'C:\suite\bin\bench_bare.exe' - Box Apply; }
apply_same() { measure same_apply apply "$main" 'C:\suite\bin\bench_samework.exe apply' - cbNoActiveDesktop sbPlay; }
start_other() { [ -z "$BENCH_OTHER" ] || measure other start "$main" 'C:\suite\bin\tolvane-other.exe'; }
apply_other() {
  [ -z "$BENCH_OTHER" ] || measure other_apply apply "$main" 'C:\suite\bin\tolvane-other.exe' tsDesktop cbNoActiveDesktop sbPlay
}
in_order() { for f in "$@"; do "$f"; done; }
one_round() {
  if [ $((round_no % 2)) = 0 ]; then
    in_order start_tolvane start_bare start_same start_other
  else
    in_order start_other start_same start_bare start_tolvane
  fi
  measure tamrel start 'C:\bench\Photos' 'C:\suite\bin\tamrel.exe C:\bench\Photos'
  measure bare_tamrel start Bare 'C:\suite\bin\bench_bare.exe'
  if [ $((round_no % 2)) = 0 ]; then
    in_order apply_tolvane apply_bare apply_same apply_other
  else
    in_order apply_other apply_same apply_bare apply_tolvane
  fi
  round_no=$((round_no + 1))
}
wineserver -k 2>/dev/null || true
"$WINELOADER" wineboot >/dev/null 2>&1 || true
# The same-work baseline's work, taken from the settings tool itself on
# this prefix: its calls to the system on the window model (the recorder),
# and its main window's tree as it runs, at start and after the Desktop tab.
record() {
  (cd "$bin" && "$WINELOADER" 'C:\suite\bin\bench_record.exe' 'C:\suite\bin\tolvane.exe' 'C:\suite\bin\samework.trace') ||
    { echo "bench: the recorder failed" >&2; exit 1; }
  for t in "start -" "apply tsDesktop"; do
    set -- $t
    launch tree "$main" 'C:\suite\bin\tolvane.exe' "$2" > "$bin/samework-$1.tree"
    grep -q '^win' "$bin/samework-$1.tree" || { echo "bench: no window tree: $(cat "$bin/samework-$1.tree")" >&2; exit 1; }
  done
}
record
[ "$pairs" = 0 ] && { echo "recorded in $bin"; exit 0; }
one_round; one_round   # warm-up: the prefix's files and the server's caches
rm -f "$out"/*
i=0
while [ $i -lt "$pairs" ]; do one_round; i=$((i + 1)); done
wineserver -k 2>/dev/null || true

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
col() { awk -v c="$2" '{print $c}' "$out/$1" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
range() { awk -v c="$2" '{print $c}' "$out/$1" | sort -n | awk 'NR == 1 {lo = $1} {hi = $1} END {printf "%s..%s", lo, hi}'; }
load=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo "?")
echo "Start-up benchmark, $pairs rounds after 2 warm-up rounds ($SUITE_WINE_ROAD Wine, medians in ms, peak working set in KiB; load average at the end: $load)"
echo "one-window: bench/bare.cpp; same-work: bench/samework.cpp (the program's own calls, splash and window tree, no layers)"
printf '%-30s %9s %9s %6s %9s %6s   %s\n' "measure" "program" "1-window" "ratio" "samework" "ratio" "ranges: program / same-work"
row() {  # row TITLE COLUMN PROGRAM ONE-WINDOW [SAME-WORK]
  title=$1 c=$2 p=$3 b=$4 s=$5
  a=$(col "$p" "$c") o=$(col "$b" "$c")
  if [ -n "$s" ]; then
    w=$(col "$s" "$c")
    printf '%-30s %9s %9s %6s %9s %6s   %s / %s\n' "$title" "$a" "$o" "$(ratio "$a" "$o")" "$w" "$(ratio "$a" "$w")" \
      "$(range "$p" "$c")" "$(range "$s" "$c")"
  else
    printf '%-30s %9s %9s %6s %9s %6s   %s\n' "$title" "$a" "$o" "$(ratio "$a" "$o")" "-" "-" "$(range "$p" "$c")"
  fi
}
row "settings tool start-up" 1 tolvane bare same
row "folder-icon tool start-up" 1 tamrel bare_tamrel
row "apply, one box, to question" 1 apply bare_apply same_apply
row "start-up, processor time" 3 tolvane bare same
row "apply, processor time" 3 apply bare_apply same_apply
row "start-up peak working set" 2 tolvane bare same
row "peak working set after apply" 2 apply bare_apply same_apply
# The stretches as the launcher sees them, against the same-work baseline.
echo "stretch by stretch (the launcher's view; the one-window program has no splash or progress form):"
srow() {  # srow TITLE COLUMN PROGRAM SAME-WORK
  a=$(col "$3" "$2") w=$(col "$4" "$2")
  printf '%-30s %9s %9s %6s %9s %6s   %s / %s\n' "$1" "$a" "-" "-" "$w" "$(awk -v a="$a" -v b="$w" \
    'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}')" "$(range "$3" "$2")" "$(range "$4" "$2")"
}
srow "start: to the splash shown" 4 tolvane same
srow "start: the splash shown" 5 tolvane same
srow "start: splash gone to shown" 6 tolvane same
srow "start: shown to idle" 7 tolvane same
srow "apply: to the progress form" 4 apply same_apply
srow "apply: the progress form shown" 5 apply same_apply
srow "apply: to the question shown" 6 apply same_apply
srow "apply: the question to idle" 7 apply same_apply
if [ -n "$BENCH_OTHER" ]; then
  echo "the other build ($BENCH_OTHER):"
  row "settings tool start-up" 1 other bare same
  row "apply, one box, to question" 1 other_apply bare_apply same_apply
  row "start-up, processor time" 3 other bare same
  row "apply, processor time" 3 other_apply bare_apply same_apply
  row "peak working set after apply" 2 other_apply bare_apply same_apply
fi
