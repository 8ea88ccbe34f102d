# Sourced: the environment every Wine command of this project runs in.
# Wine takes its ANSI code page from the locale: 932 gives Shift-JIS texts.
vr_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${VR_WINEPREFIX:-$vr_root/build/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
