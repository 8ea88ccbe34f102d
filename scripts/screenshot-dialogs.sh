#!/usr/bin/env bash
# screenshot-dialogs.sh OUTDIR [BUILD_DIR]: a picture of every window of the program as a user
# meets it, OUTDIR/NAME.png, and OUTDIR/windows.txt with where each was on the screen. The
# built program runs on a private X display in a scratch folder with a fixed keycfg.ini (the
# built-in set and Notepad with four actions) and property.ini; tests/e2e/DialogShots.cpp
# opens the windows one after the other and cuts each out of the screen once it has settled.
# Two runs of one build give the same files: scripts/compare-screenshots.sh compares two
# such folders. BUILD_DIR is a configured Windows tree (build/win by default, configured if
# need be); the program and the driver are built in it first.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 OUTDIR [BUILD_DIR]" >&2
  exit 2
fi
out=$(realpath -m "$1")
build=$(realpath -m "${2:-$root/build/win}")

if [ ! -e "$build/CMakeCache.txt" ]; then
  if [ "$build" != "$root/build/win" ]; then
    echo "$0: $build is not a configured build tree" >&2
    exit 2
  fi
  make -C "$root" deps
  (cd "$root" && cmake --preset win >/dev/null)
fi
cmake --build "$build" --target varokint varokint_hook DialogShots -j "$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/varokint.exe" "$build/varokint.dll" "$work/"
cp -r "$root/help" "$work/help"
# The files in Shift-JIS with CR LF, as the program writes them.
sjis() { printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932; }
{
  sjis "'global" 'name=(全てのｱﾌﾟﾘｹｰｼｮﾝ)' '2115.send=2048,83,67' '2115.name=コントロールパネル' ''
  sjis "'C:\\windows\\explorer.exe" 'name=エクスプローラー' \
    '325.send=598,581,591' '325.name=エクスプローラーバー' '305.send=598,583' '305.name=大きいアイコン' \
    '306.send=598,589' '306.name=小さいアイコン' '307.send=598,588' '307.name=一覧' \
    '308.send=598,580' '308.name=詳細' '309.send=598,584' '309.name=縮小版' ''
  # Ctrl+D, Ctrl+Q, Ctrl+Shift+F, and Alt+F2 with no name. DialogShots edits the second.
  sjis "'C:\\windows\\notepad.exe" 'name=メモ帳' \
    '324.send=116' '324.name=日付と時刻' '337.send=339,627,13' '337.name=保存して閉じる' \
    '1350.send=591,70' '1350.name=フォントの選択' '625.send=2048' ''
} > "$work/keycfg.ini"
sjis 'UseHotKey=yes' 'HotKeyCode=2061' 'Timer=100' > "$work/property.ini"

# A prefix of its own: nothing that a test run left in the tree's prefix shows, and a test
# session running there meanwhile is not in the way.
export VR_WINEPREFIX=$build/wine/shots-prefix
mkdir -p "$out"
rm -f "$out"/*.png "$out/windows.txt"
"$here/wine-session.sh" "$here/wine-run.sh" "$build/DialogShots.exe" "$work" "$out"
echo "$(ls "$out"/*.png | wc -l) pictures in $out"
