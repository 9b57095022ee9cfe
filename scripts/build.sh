#!/bin/sh
# Builds every tree: the native core with its tests (plain and sanitized), the fuzz targets,
# and the Windows program folders for x86_64 (run here under Wine) and i686.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build
JOBS=$(nproc)
configure() {  # dir, extra cmake arguments...
  dir=$1; shift
  [ -f "$B/$dir/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$B/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}
configure native
configure asan -DTAVLO_SANITIZE=ON
configure fuzz -DTAVLO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
configure win64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake"
configure win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake"
for dir in ${TAVLO_TREES:-native asan fuzz win64 win32}; do
  echo "== building $dir"
  cmake --build "$B/$dir" -j "$JOBS"
done
