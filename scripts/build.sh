#!/bin/sh
# Builds the trees named in TAVLO_TREES (default all): the native core with its tests (plain
# and sanitized), the fuzz targets, and the Windows program folders for x86_64 (run here under
# Wine) and i686.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build
for dir in ${TAVLO_TREES:-native asan fuzz win64 win32}; do
  case $dir in
    native) args="" ;;
    asan) args="-DTAVLO_SANITIZE=ON" ;;
    fuzz) args="-DTAVLO_FUZZ=ON -DTAVLO_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang" ;;
    win64) args="-DCMAKE_TOOLCHAIN_FILE=$ROOT/cmake/mingw-x86_64.cmake" ;;
    win32) args="-DCMAKE_TOOLCHAIN_FILE=$ROOT/cmake/mingw-i686.cmake" ;;
    *) echo "unknown tree $dir"; exit 1 ;;
  esac
  if [ ! -f "$B/$dir/CMakeCache.txt" ]; then
    # shellcheck disable=SC2086
    cmake -S "$ROOT" -B "$B/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo $args >/dev/null
  fi
  echo "== building $dir"
  started=$(date +%s)
  cmake --build "$B/$dir" -j "$(nproc)"
  echo "== $dir built in $(( $(date +%s) - started )) s"
done
