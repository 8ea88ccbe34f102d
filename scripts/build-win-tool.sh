#!/usr/bin/env bash
# build-win-tool.sh WIN_BUILD TARGET...: builds Windows programs that are not tests (the
# latency benchmark, the soak driver) in the Windows tree. A new tree leaves the Windows
# tests out, as make run does; an existing tree is configured again, so that it knows
# targets added since it was made, and keeps its cached options.
set -eu
win=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
if [ -e "$win/CMakeCache.txt" ]; then
  cmake -S "$here/.." -B "$win" >/dev/null
else
  cmake -S "$here/.." -B "$win" -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVR_WINE_TESTS=OFF >/dev/null
fi
cmake --build "$win" -j "$(nproc)" --target "$@" >/dev/null
