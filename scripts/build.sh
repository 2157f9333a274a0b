#!/bin/sh
# Configures and builds one tree: native | asan | win32. Usage: build.sh TREE
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
tree=$1
case "$tree" in
  native) cmake -S "$root" -B "$B/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null ;;
  asan)   cmake -S "$root" -B "$B/asan" -DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON >/dev/null ;;
  win32)  cmake -S "$root" -B "$B/win32" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null ;;
  *) echo "usage: $0 native|asan|win32" >&2; exit 2 ;;
esac
cmake --build "$B/$tree" -j "$(nproc)"
