#!/usr/bin/env bash
# time-first-run.sh CHECKOUT: times the first `make run` in CHECKOUT (a fresh clone) on a private
# Xvfb until the tray icon (its red arrow) shows at the right end of the Wine taskbar; then
# ends the program, Wine and the Xvfb. Its output goes to CHECKOUT/build/first-run.log.
set -u
repo=$(cd "$1" && pwd)
n=150; while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$n
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
mkdir -p "$repo/build"
start=$(date +%s.%N)
(cd "$repo" && exec make run) >"$repo/build/first-run.log" 2>&1 &
run=$!
seen=
while kill -0 $run 2>/dev/null; do
  if import -window root -crop 40x24+984+744 -depth 8 ppm:- 2>/dev/null | python3 -c '
import sys
d = sys.stdin.buffer.read()
parts = d.split(b"\n", 3)
px = parts[3]
red = sum(1 for i in range(0, len(px) - 2, 3) if px[i] > 150 and px[i+1] < 110 and px[i+2] < 80)
sys.exit(0 if red >= 4 else 1)'; then
    seen=$(date +%s.%N); break
  fi
  sleep 0.5
done
if [ -n "$seen" ]; then
  echo "tray icon after $(echo "$seen - $start" | bc) s"
  import -window root "$repo/build/first-run.png"
else
  echo "make run ended without a tray icon"
fi
WINEPREFIX=$repo/build/wine/prefix wineserver -k 2>/dev/null
wait $run
kill $xvfb; wait $xvfb 2>/dev/null
