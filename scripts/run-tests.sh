#!/usr/bin/env bash
# run-tests.sh NATIVE_BUILD WIN_BUILD: every test, native first, then the Windows
# tests under Wine; ends with one summary over both.
set -u
native=$1 win=$2
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp -d)

(cd "$native" && ctest --output-on-failure -j 2) 2>&1 | tee "$log/native.txt"
native_rc=${PIPESTATUS[0]}
# The Wine tests type through X into other processes; a test that fails is run once more
# so that a scheduling hiccup of the 2-core machine is not taken for a fault (a real
# fault fails both times).
"$here/wine-session.sh" ctest --test-dir "$win" --output-on-failure --repeat until-pass:2 2>&1 | tee "$log/wine.txt"
wine_rc=${PIPESTATUS[0]}

passed=0 failed=0
for f in "$log"/*.txt; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$f" | tail -n1)
  [ -z "$line" ] && continue
  total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
  nfail=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
  passed=$((passed + total - nfail)); failed=$((failed + nfail))
done
rm -rf "$log"
echo
echo "$passed passed, $failed failed"
[ "$native_rc" -eq 0 ] && [ "$wine_rc" -eq 0 ]
