#!/usr/bin/env bash
# run-fuzz.sh FUZZ_BUILD [RUNS]: fuzzes each file reader (keycfg.ini, property.ini) with
# RUNS inputs (default 10,000,000), on both cores, on a scratch copy of its committed seed
# corpus, so the repository's seeds are never rewritten. Per reader:
#   94%  the in-memory entry with short inputs (at most 1,024 bytes): the reading rules;
#    5%  the in-memory entry with inputs up to 80,000 bytes: lines past the 65,000-byte buffer;
#    1%  the file entry (write, load, compare with the in-memory read, save, load again).
# Stops at the first fault and keeps its input in FUZZ_BUILD/crashes.
set -eu
build=$1
runs=${2:-10000000}
here=$(cd "$(dirname "$0")" && pwd)
fuzz_dir="$here/../tests/fuzz"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
workers=2
short_len=1024
long_len=80000

# run_phase TARGET MAX_LEN RUNS CORPUS DICT: RUNS inputs over $workers processes sharing
# one corpus folder; prints the phase's time, rate and the best coverage a worker reached.
run_phase() {
  local target=$1 max_len=$2 total=$3 corpus=$4 dict=$5 name
  name=$(basename "$target")
  local each=$(( (total + workers - 1) / workers ))
  [ "$each" -gt 0 ] || return 0
  local start=$(date +%s.%N) pids=() w
  for w in $(seq 1 $workers); do
    "$target" -runs="$each" -max_len="$max_len" -seed="$w$max_len" -dict="$dict" -print_final_stats=1 \
      -artifact_prefix="$work/artifacts/" "$corpus" >"$work/$name.$max_len.$w.log" 2>&1 &
    pids+=($!)
  done
  local failed=0 pid
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
  local seconds
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  if [ $failed -ne 0 ]; then
    for w in $(seq 1 $workers); do tail -n 30 "$work/$name.$max_len.$w.log"; done
    mkdir -p "$build/crashes/$name"
    cp "$work/artifacts/"* "$build/crashes/$name/" 2>/dev/null || true
    echo "$name found a fault; inputs kept in $build/crashes/$name"
    exit 1
  fi
  local done_runs=0 cov=0 ft=0 n line
  for w in $(seq 1 $workers); do
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.$max_len.$w.log")
    done_runs=$((done_runs + ${n:-0}))
    line=$(grep -E '^#[0-9]+.*(DONE|cov:)' "$work/$name.$max_len.$w.log" | tail -n1)
    n=$(echo "$line" | sed -nE 's/.* cov: ([0-9]+).*/\1/p'); [ "${n:-0}" -gt $cov ] && cov=$n
    n=$(echo "$line" | sed -nE 's/.* ft: ([0-9]+).*/\1/p'); [ "${n:-0}" -gt $ft ] && ft=$n
  done
  printf '  %-24s max_len %6s: %10d runs in %7.1f s (%6.0f/s)  cov: %s ft: %s\n' \
    "$name" "$max_len" "$done_runs" "$seconds" "$(echo "$done_runs / $seconds" | bc -l)" "$cov" "$ft"
}

mkdir -p "$work/artifacts"
overall=$(date +%s)
for reader in shortcut_file settings_file; do
  short=${reader%_file}
  memory="$build/tests/fuzz/vr_fuzz_${short}_bytes" file="$build/tests/fuzz/vr_fuzz_${reader}"
  for target in "$memory" "$file"; do
    [ -x "$target" ] || { echo "missing $target"; exit 1; }
  done
  corpus="$work/$reader"
  mkdir -p "$corpus"
  cp "$fuzz_dir/corpus/$reader"/* "$corpus/"
  # libFuzzer grows inputs slowly; start it off with one over-long line among valid ones.
  { printf "'x\r\nname="; head -c 70000 /dev/zero | tr '\0' 'x'; printf '\r\n1.send=2\r\nTimer=5\r\n'; } \
    >"$corpus/zz-long-line"
  echo "== $reader: $runs inputs on $workers workers"
  start=$(date +%s)
  run_phase "$memory" $short_len $((runs * 94 / 100)) "$corpus" "$fuzz_dir/$reader.dict"
  run_phase "$memory" $long_len $((runs * 5 / 100)) "$corpus" "$fuzz_dir/$reader.dict"
  run_phase "$file" $long_len $((runs / 100)) "$corpus" "$fuzz_dir/$reader.dict"
  echo "  $reader: $(( $(date +%s) - start )) s, corpus of $(ls "$corpus" | wc -l) inputs"
done
echo "fuzz: both readers ran $runs inputs each without a fault in $(( $(date +%s) - overall )) s"
