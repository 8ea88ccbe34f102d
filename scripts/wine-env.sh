# Sourced: the environment every Wine command of this project runs in.
vr_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The prefix: WINEPREFIX when the caller names one, else one per checkout. (VR_WINEPREFIX,
# the older name, still wins over both: test sessions of their own set it.)
export WINEPREFIX=${VR_WINEPREFIX:-${WINEPREFIX:-$vr_root/build/wine/prefix}}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Wine takes its ANSI code page from the locale: 932 gives Shift-JIS texts. It reaches file
# names beyond ASCII only when that locale exists; where the system has not generated it,
# a private copy is made once, under build/, and found through LOCPATH.
vr_have_ja_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'
}
if [ -z "${LOCPATH:-}" ] && ! vr_have_ja_locale; then
  vr_locales=$vr_root/build/locale
  if [ ! -e "$vr_locales/ja_JP.UTF-8/LC_CTYPE" ] && command -v localedef >/dev/null; then
    # Built aside and moved into place, so that two sessions starting at once never see
    # half a locale.
    mkdir -p "$vr_locales"
    vr_tmp=$(mktemp -d "$vr_locales/.new-XXXXXX")
    localedef -i ja_JP -f UTF-8 "$vr_tmp/ja_JP.UTF-8" >/dev/null 2>&1
    if [ -e "$vr_tmp/ja_JP.UTF-8/LC_CTYPE" ]; then
      mv -T "$vr_tmp/ja_JP.UTF-8" "$vr_locales/ja_JP.UTF-8" 2>/dev/null
    fi
    rm -rf "$vr_tmp"
  fi
  if [ -e "$vr_locales/ja_JP.UTF-8/LC_CTYPE" ]; then
    export LOCPATH=$vr_locales
  fi
fi
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
