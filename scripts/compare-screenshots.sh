#!/usr/bin/env bash
# compare-screenshots.sh DIR_A DIR_B: compares two folders of scripts/screenshot-dialogs.sh
# picture by picture. Prints each name with the number of differing pixels (ImageMagick's
# absolute error count; "missing" when one folder lacks it, "size" when the sizes differ),
# then the windows whose place on the screen differs (windows.txt). Exit status 0 only when
# every picture and every place is the same.
set -u
if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -d "$2" ]; then
  echo "usage: $0 DIR_A DIR_B" >&2
  exit 2
fi
a=$1 b=$2
status=0
names=$( { ls -- "$a"; ls -- "$b"; } | grep '\.png$' | LC_ALL=C sort -u)
if [ -z "$names" ]; then
  echo "no pictures in $a or $b" >&2
  exit 2
fi
for name in $names; do
  if [ ! -f "$a/$name" ] || [ ! -f "$b/$name" ]; then
    printf '%-32s missing in %s\n' "${name%.png}" "$([ -f "$a/$name" ] && echo "$b" || echo "$a")"
    status=1
    continue
  fi
  size_a=$(identify -format '%wx%h' "$a/$name") size_b=$(identify -format '%wx%h' "$b/$name")
  if [ "$size_a" != "$size_b" ]; then
    printf '%-32s size %s against %s\n' "${name%.png}" "$size_a" "$size_b"
    status=1
    continue
  fi
  # compare prints the count on standard error and exits 1 when the pictures differ.
  pixels=$(compare -metric AE "$a/$name" "$b/$name" null: 2>&1)
  case $pixels in
    0) ;;
    [0-9]*) status=1 ;;
    *) echo "$name: $pixels" >&2; status=1; pixels=error ;;
  esac
  printf '%-32s %s\n' "${name%.png}" "$pixels"
done
if [ -f "$a/windows.txt" ] && [ -f "$b/windows.txt" ]; then
  moved=$(diff <(sort "$a/windows.txt") <(sort "$b/windows.txt") | grep '^[<>]')
  if [ -n "$moved" ]; then
    echo "windows at other places (< $a, > $b):"
    echo "$moved"
    status=1
  fi
fi
if [ $status -eq 0 ]; then echo "all identical"; else echo "DIFFERENT"; fi
exit $status
