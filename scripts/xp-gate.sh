#!/bin/sh
# The XP gate on the shipped programs: fails, naming program, DLL and
# function, when Windows XP SP3 would refuse to load one (or a call it makes
# would find nothing). It first makes sure that the gate refuses the probe
# that imports GetTickCount64, so a gate that passes everything cannot pass.
# Needs the native tree (the gate) and the i686 programs (build.sh win32 programs).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
gate=$B/native/tests/xpgate/xpgate
list=$root/tests/xpgate/xp-sp3.txt
probe=$B/win32/tests/xpgate/xpgate_probe.exe
for f in "$gate" "$probe" "$B/win32/distribution/tolvane.exe"; do
  [ -f "$f" ] || { echo "xp gate: FAIL: $f is not built"; exit 1; }
done
if out=$("$gate" "$list" "$probe"); then
  echo "xp gate: FAIL: the gate passes a program that imports KERNEL32!GetTickCount64"
  exit 1
fi
case "$out" in
  *"KERNEL32.dll!GetTickCount64"*) ;;
  *) printf '%s\n' "$out"; echo "xp gate: FAIL: the gate does not name KERNEL32!GetTickCount64 in the probe"; exit 1 ;;
esac
# The zip holds the same programs as the folder.
zip=$(ls "$B/win32/"Tolvane-*.zip)
for f in "$B/win32/distribution/"*.exe; do
  n=$(basename "$f")
  unzip -p "$zip" "$n" | cmp -s - "$f" || { echo "xp gate: FAIL: $n in $(basename "$zip") is not the folder's $n"; exit 1; }
done
"$gate" "$list" "$B/win32/distribution/"*.exe
