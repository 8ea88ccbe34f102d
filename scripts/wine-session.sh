#!/usr/bin/env bash
# wine-session.sh [--use-display] COMMAND...
# Runs COMMAND with a ready Wine prefix (code page 932, one virtual desktop "shell"
# with a taskbar, Japanese fonts) and an X display: its own Xvfb, or with
# --use-display the caller's $DISPLAY when there is one. Ends every process it started.
#
# The first session in a prefix owns it: it ends the prefix's Wine processes when it
# ends. A second --use-display session while the first is one too (a second make run)
# joins its display and desktop and ends nothing; any other second session is refused,
# as its keys and windows would land in the running one.
set -u
use_display=0
if [ "${1:-}" = "--use-display" ]; then use_display=1; shift; fi
source "$(dirname "$0")/wine-env.sh" 2>/dev/null

mkdir -p "$WINEPREFIX"
# Held for as long as the owning session runs (the Wine processes it starts inherit it).
exec 9>>"$WINEPREFIX/.varokinto-session"
owner=0
if flock -n 9; then owner=1; fi
display_file=$WINEPREFIX/.varokinto-display

xvfb_pid=
cleanup() {
  if [ $owner -eq 1 ]; then
    rm -f "$display_file"
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ $owner -eq 0 ]; then
  # Only a make run session is joined: any other runs tests, and a program started into
  # it would be in their way.
  read -r owner_uses_display owner_display < "$display_file" 2>/dev/null
  if [ $use_display -eq 0 ] || [ "${owner_uses_display:-0}" != 1 ] || [ -z "${owner_display:-}" ]; then
    echo "wine-session.sh: another session runs in $WINEPREFIX (make run, make test?); end it or set WINEPREFIX" >&2
    exit 1
  fi
  export DISPLAY=$owner_display
  "$@"
  exit
fi

if [ $use_display -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
  n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
echo "$use_display $DISPLAY" > "$display_file"

if [ ! -e "$WINEPREFIX/.varokinto-ready" ]; then
  wine wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
  # Without these the dialog font falls back to one without Japanese glyphs or wider
  # than the templates were laid out for, and control texts get clipped.
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
    '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' '"MS UI Gothic"="IPAPGothic"' '' \
    | iconv -f UTF-8 -t UTF-16 > "$reg"
  wine regedit "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
  rm -f "$reg"
  wineserver -w
  touch "$WINEPREFIX/.varokinto-ready"
fi

# Help pages: .htm and .html open with winebrowser, which hands them to the host's browser
# as file:///... addresses. (The prefix has no HTML viewer of its own: mshtml is off.)
if [ ! -e "$WINEPREFIX/.varokinto-htm" ]; then
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CLASSES_ROOT\.htm]' '@="htmlfile"' '' '[HKEY_CLASSES_ROOT\.html]' '@="htmlfile"' '' \
    '[HKEY_CLASSES_ROOT\htmlfile\shell\open\command]' \
    '@="\"C:\\windows\\system32\\winebrowser.exe\" \"%1\""' '' > "$reg"
  wine regedit "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
  rm -f "$reg"
  touch "$WINEPREFIX/.varokinto-htm"
fi
# On the user's display winebrowser tries its usual browsers (xdg-open, firefox, ...); on a
# private Xvfb nobody could see a browser, so a first start or a help button there hands
# the page to true(1) instead of leaving browsers running.
if [ -n "$xvfb_pid" ]; then
  wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d true /f >/dev/null 2>&1
else
  wine reg delete 'HKCU\Software\Wine\WineBrowser' /v Browsers /f >/dev/null 2>&1
fi

# Wine draws caption buttons and check marks with Marlett; Debian's Wine does not find the
# copy in its data folder, so the buttons would show plain letters ("r" for close).
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
  cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
fi

"$@"
