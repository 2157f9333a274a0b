#!/bin/sh
# Configures and builds one tree: native | asan | win32 | win64 | fuzz.
# ("fuzz": clang with libFuzzer, AddressSanitizer and UBSan; only the fuzz
# targets are built.)
# Usage: build.sh TREE [programs]  ("programs": only the shipped programs and
# their files, as the i686 tree needs where 32-bit programs cannot run)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
tree=$1
jobs=${SUITE_JOBS:-$(nproc)}
# ccache speeds up rebuilds where it is installed (it is not needed).
launch=""
command -v ccache >/dev/null 2>&1 && launch="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
case "$tree" in
  native) cmake -S "$root" -B "$B/native" -DCMAKE_BUILD_TYPE=Debug $launch >/dev/null ;;
  asan)   cmake -S "$root" -B "$B/asan" -DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON $launch >/dev/null ;;
  win32)  cmake -S "$root" -B "$B/win32" -DCMAKE_BUILD_TYPE=Release $launch \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null ;;
  win64)  cmake -S "$root" -B "$B/win64" -DCMAKE_BUILD_TYPE=Release $launch \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null ;;
  fuzz)   cmake -S "$root" -B "$B/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
            -DSUITE_SANITIZE=ON -DSUITE_FUZZ=ON $launch >/dev/null ;;
  *) echo "usage: $0 native|asan|win32|win64|fuzz [programs]" >&2; exit 2 ;;
esac
if [ "$tree" = fuzz ]; then
  cmake --build "$B/fuzz" -j "$jobs" --target tolvane_settings_file_fuzz
elif [ "$2" = programs ]; then
  cmake --build "$B/$tree" -j "$jobs" --target programs
else
  cmake --build "$B/$tree" -j "$jobs"
fi
