#!/usr/bin/env bash
# make-readme.sh SOURCE OUT: the user's text file of the zip. The source is UTF-8 with LF
# line ends so that it reads well in the repository; the user's copy is Shift-JIS (code
# page 932) with CR LF, which Notepad of every Windows version shows correctly.
set -eu
src=${1:?usage: make-readme.sh SOURCE OUT} out=${2:?usage: make-readme.sh SOURCE OUT}
iconv -f UTF-8 -t CP932 "$src" | sed 's/$/\r/' >"$out.tmp"
mv "$out.tmp" "$out"
