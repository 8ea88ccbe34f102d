#!/usr/bin/env bash
# run-bench.sh BENCH_BUILD WIN_BUILD: the benchmarks. First the native ones (engine
# dispatch), then the end-to-end key latency, the settings window at scale and the idle
# program's wake-ups under Wine.
set -u
bench=$1 win=$2
here=$(cd "$(dirname "$0")" && pwd)
rc=0

echo "== Key dispatch (native, fake system) =="
if [ -x "$bench/tests/bench/vr_dispatch_bench" ]; then
  "$bench/tests/bench/vr_dispatch_bench" --benchmark_counters_tabular=true || rc=1
else
  echo "missing $bench/tests/bench/vr_dispatch_bench"; rc=1
fi

echo
echo "== Loading keycfg.ini (native) =="
if [ -x "$bench/tests/bench/vr_load_bench" ]; then
  "$bench/tests/bench/vr_load_bench" 100000 || rc=1
else
  echo "missing $bench/tests/bench/vr_load_bench"; rc=1
fi

# ---- End-to-end key latency under Wine ----
echo
echo "== Key latency end to end (Wine: varokint.exe and varokint.dll) =="
if "$here/build-win-tool.sh" KeyLatencyBench MinimalHost; then
  "$here/wine-session.sh" "$here/wine-run.sh" "$win/KeyLatencyBench.exe" "${VR_BENCH_PRESSES:-200}" || rc=1
else
  echo "could not build KeyLatencyBench in $win"; rc=1
fi

# ---- The settings window at scale under Wine ----
echo
echo "== Settings window with 10,000 and 100,000 applications (Wine: varokint.exe) =="
if "$here/build-win-tool.sh" SettingsOpenBench; then
  "$here/wine-session.sh" "$here/wine-run.sh" "$win/SettingsOpenBench.exe" ${VR_BENCH_APPS:-10000 100000} || rc=1
else
  echo "could not build SettingsOpenBench in $win"; rc=1
fi

# ---- The idle program under Wine ----
echo
echo "== Wake-ups of the idle program over ${VR_IDLE_SECONDS:-60} s (Wine: varokint.exe left alone) =="
if "$here/build-win-tool.sh" varokint varokint_hook; then
  "$here/wine-session.sh" "$here/idle-bench.sh" "$win/varokint.exe" "$win/varokint.dll" "${VR_IDLE_SECONDS:-60}" || rc=1
else
  echo "could not build varokint.exe in $win"; rc=1
fi

exit $rc
