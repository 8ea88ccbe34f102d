#!/usr/bin/env bash
# screenshot-settings.sh [OUT.png]: the picture of the settings window in README.md
# (docs/settings.png by default). Starts the built program for the first time in a scratch
# folder on a private X display, opens its settings with the hotkey Win+Enter while an
# Explorer folder window is in front (the built-in set's Explorer entry is then shown), and
# cuts the settings window out of a picture of the screen.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

if [ "${1:-}" = "--inside-session" ]; then
  dir=$2 out=$3
  source "$here/wine-env.sh" 2>/dev/null
  cd "$dir"
  wine varokint.exe &
  # Start-up is over once the first start has written the built-in set.
  for _ in $(seq 100); do [ -s keycfg.ini ] && break; sleep 0.2; done
  wine 'C:\windows\explorer.exe' /n,'C:\windows' &
  sleep 4
  # A click on the folder window's title bar gives it the keyboard; then the hotkey.
  xdotool mousemove 200 12 click 1
  sleep 1
  import -window root "$dir/before.png"
  xdotool keydown super keydown Return sleep 0.2 keyup Return keyup super
  sleep 3
  import -window root "$dir/after.png"
  convert "$dir/before.png" "$dir/before.ppm"
  convert "$dir/after.png" "$dir/after.ppm"
  # The settings window is the only active caption on the second picture: the folder
  # window's caption had that colour before the hotkey. Its right frame edge, beside the
  # folder window, runs down to the desktop's colour.
  box=$(python3 - "$dir/before.ppm" "$dir/after.ppm" <<'PY'
import sys
def load(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace(): pos += 1
        end = pos
        while not data[end:end + 1].isspace(): end += 1
        fields.append(data[pos:end]); pos = end
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    return width, height, lambda x, y: pixels[3 * (y * width + x):3 * (y * width + x) + 3]
w, h, before = load(sys.argv[1])
_, _, after = load(sys.argv[2])
caption, desktop = before(300, 4), before(w - 4, h // 2)
points = [(x, y) for y in range(h) for x in range(w) if after(x, y) == caption]
left, right = min(p[0] for p in points), max(p[0] for p in points)
top = min(p[1] for p in points)
edge = right + 1
while edge + 1 < w and after(edge + 1, top + 2) != desktop: edge += 1
bottom = top
while bottom + 1 < h and after(edge, bottom + 1) != desktop: bottom += 1
left -= edge - right
top -= edge - right
print("%dx%d+%d+%d" % (edge - left + 1, bottom - top + 1, left, top))
PY
)
  convert "$dir/after.png" -crop "$box" +repage "$out"
  exit 0   # the session ends the program with the rest of Wine
fi

out=$(realpath -m "${1:-$root/docs/settings.png}")
[ -e "$root/build/win/varokint.exe" ] || make -C "$root" shipped
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/build/win/varokint.exe" "$root/build/win/varokint.dll" "$work/"
cp -r "$root/help" "$work/help"
mkdir -p "$(dirname "$out")"
"$here/wine-session.sh" "$0" --inside-session "$work" "$out"
identify "$out"
