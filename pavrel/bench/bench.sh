#!/bin/sh
# The search benchmark under Wine: a generated tree of 100,000 files in
# 10,000 folders (one file in ten a .BAK), mapped as drive P: of the Windows
# tree's prefix, searched by the cleanup wizard's own search and walked by
# the bare two-pass walk, three times each in turn; the best time of each
# gives files per second and their ratio. Not a test: it only measures.
# Usage: sh pavrel/bench/bench.sh   (after sh scripts/build.sh win64)
set -e
src=$(cd "$(dirname "$0")/../.." && pwd)
tree=${SUITE_BUILD:-$src/build}/${SUITE_WINE_ROAD:-win64}
export SUITE_WINEPREFIX=$tree/wineprefix
gui_tree=$tree
. "$src/tests/gui/lib.sh"
bin=$tree/pavrel/bench
data=$tree/pavrel/bench/tree
cleanup() { rm -f "$WINEPREFIX/dosdevices/p:"; rm -rf "$data"; wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
rm -rf "$data"
python3 - "$data" <<'PY'
import os, sys
root = sys.argv[1]
for top in range(100):
    for sub in range(100):
        folder = os.path.join(root, "dir%03d" % top) if sub == 0 else os.path.join(root, "dir%03d" % top, "sub%03d" % sub)
        os.makedirs(folder, exist_ok=True)
        for f in range(10):
            name = "file%d.bak" % f if f == 0 else "file%d.dat" % f
            with open(os.path.join(folder, name), "wb") as out:
                out.write(b"x" * (f * 10))
PY
ln -s "$data" "$WINEPREFIX/dosdevices/p:"
best() { sort -n | head -n1; }
: >"$bin/bare.times"; : >"$bin/search.times"
for run in 1 2 3; do
  out=$(sh "$src/scripts/wine-run.sh" "$bin/bare_walk.exe" P | tr -d '\r'); echo "$out"
  echo "$out" | sed 's/.*files, \([0-9.]*\) s.*/\1/' >>"$bin/bare.times"
  out=$(sh "$src/scripts/wine-run.sh" "$bin/search_bench.exe" P | tr -d '\r'); echo "$out"
  echo "$out" | sed 's/.*rows, \([0-9.]*\) s.*/\1/' >>"$bin/search.times"
done
bare=$(best <"$bin/bare.times"); search=$(best <"$bin/search.times")
python3 -c "
b, s = $bare, $search
print('bare walk: %.0f files/s (best %.3f s)' % (100000 / b, b))
print('search:    %.0f files/s (best %.3f s)' % (100000 / s, s))
print('ratio search/bare: %.2f' % (s / b))"
