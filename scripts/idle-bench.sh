#!/usr/bin/env bash
# idle-bench.sh EXE DLL [SECONDS]: how often the resident program wakes while nothing
# happens, run inside a Wine session. The program starts in a folder of its own with a
# shortcut file and settings, is left alone a few seconds to settle, and then the voluntary
# context switches of all its threads are counted over SECONDS (60) from /proc: under Wine a
# Windows process is a Linux process, and each wake-up ends in one such switch when the
# thread waits again. The program is ended by its process id; the session ends with it.
set -u
exe=$1 dll=$2 seconds=${3:-60}
dir=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi
  rm -rf "$dir"
}
trap cleanup EXIT

cp "$exe" "$dir/varokint.exe" && cp "$dll" "$dir/varokint.dll" || exit 1
printf "'global\r\nname=all\r\n2115.send=2048,83,67\r\n\r\n" >"$dir/keycfg.ini"
printf 'UseHotKey=yes\r\nHotKeyCode=2061\r\nTimer=100\r\n' >"$dir/property.ini"
# The subshell becomes wine, which becomes the Windows process: one process id throughout.
(cd "$dir" && exec wine varokint.exe >/dev/null 2>&1) &
pid=$!

switches() {
  cat /proc/"$pid"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {n += $2} END {print n + 0}'
}
sleep 10
if ! tr '\0' ' ' </proc/"$pid"/cmdline 2>/dev/null | grep -q 'varokint\.exe'; then
  echo "varokint.exe did not start"; exit 1
fi
threads=$(ls /proc/"$pid"/task | wc -l)
before=$(switches)
sleep "$seconds"
after=$(switches)
kill -0 "$pid" 2>/dev/null || { echo "varokint.exe ended while idle"; exit 1; }
echo "idle ${seconds} s, ${threads} threads: $((after - before)) wake-ups ($(( (after - before) * 60 / seconds )) per minute)"
