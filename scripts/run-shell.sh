#!/usr/bin/env bash
# run-shell.sh DIR: runs DIR/varokint.exe with DIR as its current directory, where it
# reads and writes keycfg.ini and property.ini and finds varokint.dll and help\.
# Called inside wine-session.sh, so the program lands in the "shell" virtual desktop
# whose taskbar shows the tray icon. Returns when the program ends (tray menu 終了).
set -eu
dir=$(cd "${1:?usage: run-shell.sh DIR}" && pwd)
source "$(dirname "$0")/wine-env.sh" 2>/dev/null
cd "$dir"
echo "Varokinto runs in the Wine desktop on display $DISPLAY; quit it from its tray menu."
wine varokint.exe
