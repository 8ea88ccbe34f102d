#!/usr/bin/env bash
# run-soak.sh WIN_BUILD: VR_SOAK_PRESSES presses (default 20000) of one action injected
# into KeyTarget while varokint.exe runs under Wine, in a session of its own. Ends with the
# driver's line "soak: S sent, D delivered, L leaked, K stuck, RSS A -> B kB"; fails
# unless every press was delivered and nothing leaked or stuck.
set -u
win=$1
here=$(cd "$(dirname "$0")" && pwd)
# A tree configured before the driver existed learns of it from a new configure; its
# cached options (the Windows tests on or off) stay.
if [ -e "$win/CMakeCache.txt" ]; then
  cmake -S "$here/.." -B "$win" >/dev/null
else
  cmake -S "$here/.." -B "$win" -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release -DVR_WINE_TESTS=OFF >/dev/null
fi
if ! cmake --build "$win" -j "$(nproc)" --target SoakDriver >/dev/null; then
  echo "could not build SoakDriver in $win"; exit 1
fi
"$here/wine-session.sh" "$here/wine-run.sh" "$win/tests/e2e/SoakDriver.exe" "${VR_SOAK_PRESSES:-20000}" | tr -d '\r'
exit "${PIPESTATUS[0]}"
