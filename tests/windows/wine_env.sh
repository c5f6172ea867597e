# Sourced by the Wine scripts: a fresh Wine prefix in which Arial resolves.
#   wine_fresh_prefix FOLDER   makes the prefix and exports WINEPREFIX and the rest
# Afterwards `run_wine PROGRAM ARGS...` runs a Windows program in it.

if command -v wine >/dev/null 2>&1; then
  wine_cmd=wine
elif [ -x /usr/lib/wine/wine64 ]; then
  wine_cmd=/usr/lib/wine/wine64
else
  echo "Wine is missing (Debian package wine)" >&2
  exit 1
fi
if command -v wineserver >/dev/null 2>&1; then
  wineserver_cmd=wineserver
else
  wineserver_cmd=/usr/lib/wine/wineserver64
fi

run_wine() {
  "$wine_cmd" "$@"
}

wine_fresh_prefix() {
  rm -rf "$1"
  mkdir -p "$1"
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
  # No offer to install Mono or Gecko, no menu entries on the Linux desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  run_wine wineboot --init >/dev/null 2>&1 </dev/null
  # A fresh prefix has no Arial, the windows' font: Wine falls back to a serif.
  # The Liberation fonts have Arial's metrics (Debian's fonts-liberation2).
  run_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f \
    >/dev/null 2>&1 </dev/null
  "$wineserver_cmd" -w
}
