#!/bin/sh
# The zip-name check itself: a zip made the way the distribution is made
# passes with ASCII names and fails on a Japanese name, which XP's
# extractor reads in the OEM code page whatever the UTF-8 flag says.
# Usage: zip_names_test.sh CHECK.cmake
set -e
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { printf "FAIL: %s\n" "$*"; exit 1; }
mkdir "$work/d"
for f in nistrel.exe 'a b~1.txt' '透明.ico'; do printf x >"$work/d/$f"; done
cd "$work/d"
cmake -E tar cf ../ascii.zip --format=zip -- nistrel.exe 'a b~1.txt'
cmake -E tar cf ../japanese.zip --format=zip -- nistrel.exe 'a b~1.txt' '透明.ico'
cd "$work"
cmake -DZIP=ascii.zip -P "$check" >out.txt 2>&1 || fail "ASCII names refused: $(cat out.txt)"
grep -q '2 entries' out.txt || fail "not every entry read: $(cat out.txt)"
! cmake -DZIP=japanese.zip -DDIR=d -P "$check" >out.txt 2>&1 || fail "a Japanese name passed"
grep -q '"透明.ico" (UTF-8 flag 1) unpacks as ".*" in code page 932 and "ΘÇÅµÿÄ.ico" in code page 437' out.txt ||
  fail "the refusal does not name the entry and its readings: $(cat out.txt)"
! grep -q nistrel.exe out.txt || fail "an ASCII entry was refused: $(cat out.txt)"
# The folder's files and the zip's entries must be the same.
rm "d/透明.ico"
! cmake -DZIP=japanese.zip -DDIR=d -P "$check" >out.txt 2>&1 || fail "an entry without its file passed"
grep -q 'are not the files of' out.txt || fail "the extra entry is not told: $(cat out.txt)"
echo "PASS: zip names"
