#!/bin/sh
# Makes a delay-load import library for a system DLL from its import library:
# the DLL is then loaded on the first call of one of its functions.
# Usage: delay-import.sh TRIPLE IMPORT-LIB DLL OUT-LIB
set -e
triple=$1 lib=$2 dll=$3 out=$4
def=$(mktemp)
trap 'rm -f "$def"' EXIT
kill_at=""
strip='s/^//'
case "$triple" in i686-*) kill_at=-k; strip='s/^_//' ;; esac
{
  echo "LIBRARY $dll.dll"
  echo "EXPORTS"
  "$triple-nm" -g --defined-only "$lib" | awk '$2 == "T" {print $3}' | sed "$strip" | sort -u
} > "$def"
mkdir -p "$(dirname "$out")"
"$triple-dlltool" $kill_at --input-def "$def" --dllname "$dll.dll" --output-delaylib "$out"
