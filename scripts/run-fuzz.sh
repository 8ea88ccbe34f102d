#!/usr/bin/env bash
# run-fuzz.sh FUZZ_BUILD [SECONDS]: runs every libFuzzer target of the build for SECONDS
# (default 60) on a scratch copy of its committed seed corpus, so the repository's seeds
# are never rewritten. Stops at the first target that finds a fault.
set -eu
build=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
corpus_root="$here/../tests/fuzz/corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Long enough for a line well past the readers' 65000-byte line buffer.
max_len=80000
found=0
for target in "$build"/tests/fuzz/vr_fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds="$corpus_root/${name#vr_fuzz_}"
  mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
  [ -d "$seeds" ] && cp "$seeds"/* "$work/$name/corpus/"
  # libFuzzer grows inputs slowly; start it off with one over-long line among valid ones.
  { printf "'x\r\nname="; head -c 70000 /dev/zero | tr '\0' 'x'; printf '\r\n1.send=2\r\nTimer=5\r\n'; } \
    >"$work/$name/corpus/zz-long-line"
  found=$((found + 1))
  echo "== $name: ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$work/$name/artifacts/" "$work/$name/corpus" 2>"$work/$name/log" || {
      tail -n 40 "$work/$name/log"
      mkdir -p "$build/crashes/$name"
      cp "$work/$name/artifacts/"* "$build/crashes/$name/" 2>/dev/null || true
      echo "$name found a fault; inputs kept in $build/crashes/$name"
      exit 1
    }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+.*DONE)' "$work/$name/log" || true
done
[ "$found" -gt 0 ] || { echo "no fuzz targets in $build/tests/fuzz"; exit 1; }
echo "fuzz: $found targets ran ${seconds}s each without a fault"
