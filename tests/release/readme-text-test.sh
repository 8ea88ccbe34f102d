#!/usr/bin/env bash
# readme-text-test.sh: the zip's readme.txt as make dist writes it: Shift-JIS that decodes
# back to the source exactly, every line ended by CR LF and no other CR or LF, and the
# facts a user looks for in it.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp)
trap 'rm -f "$out"' EXIT
fail() { echo "readme.txt: $*"; exit 1; }

"$root/scripts/make-readme.sh" "$root/res/readme.txt" "$out" || fail "not written"
lf=$(tr -cd '\n' <"$out" | wc -c)
cr=$(tr -cd '\r' <"$out" | wc -c)
crlf=$(grep -c $'\r$' "$out")
[ "$lf" -gt 0 ] && [ "$lf" -eq "$cr" ] && [ "$lf" -eq "$crlf" ] || fail "LF $lf, CR $cr, CR LF $crlf"
[ "$(tail -c 2 "$out" | od -An -tx1 | tr -d ' ')" = "0d0a" ] || fail "last line not ended by CR LF"
iconv -f CP932 -t UTF-8 "$out" | tr -d '\r' | cmp -s - "$root/res/readme.txt" || fail "not the source in CP932"
# Plain ASCII would decode too: the Japanese text must have become double-byte codes.
LC_ALL=C grep -q $'\x82\xa0' "$out" || LC_ALL=C grep -q $'\x83\x76' "$out" || fail "no Shift-JIS kana"
for fact in varokint.exe keycfg.ini property.ini "フォルダーごと削除" "レジストリには何も書き込みません" "終了"; do
  grep -qF "$fact" "$root/res/readme.txt" || fail "says nothing of $fact"
done
echo "readme.txt: $lf lines, CP932, CR LF"
