#!/usr/bin/env bash
# run-soak.sh WIN_BUILD: VR_SOAK_PRESSES presses (default 20000) of one action injected
# into KeyTarget while varokint.exe runs under Wine, in a session of its own. Ends with the
# driver's line "soak: S sent, D delivered, L leaked, K stuck, RSS A -> B kB"; fails
# unless every press was delivered and nothing leaked or stuck.
set -u
win=$1
here=$(cd "$(dirname "$0")" && pwd)
if ! "$here/build-win-tool.sh" SoakDriver; then
  echo "could not build SoakDriver in $win"; exit 1
fi
"$here/wine-session.sh" "$here/wine-run.sh" "$win/SoakDriver.exe" "${VR_SOAK_PRESSES:-20000}" | tr -d '\r'
exit "${PIPESTATUS[0]}"
