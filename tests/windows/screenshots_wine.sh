#!/usr/bin/env bash
# The five windows as Windows draws them: the screenshot program of the window
# tests, cross-built, under Wine with Qt's windows platform on a virtual X
# display, in a fresh Wine prefix in which Arial resolves.
# Usage: screenshots_wine.sh BUILD_DIR QT_PREFIX OUTPUT_FOLDER
set -euo pipefail
build=$(realpath "$1")
qt=$(realpath "$2")
mkdir -p "$3"
out=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/dilatany-screenshots-wine.XXXXXX)
trap 'rm -rf "$work"' EXIT
# shellcheck source=wine_env.sh
. "$here/wine_env.sh"
wine_fresh_prefix "$work/prefix"

# The program with Qt's DLLs beside it and its plugins below, as in the zip.
mkdir -p "$work/app/platforms" "$work/app/styles"
cp "$build/tests/ui/dilatany-screenshots.exe" "$work/app/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,Test}.dll "$work/app/"
cp "$qt/plugins/platforms/qwindows.dll" "$work/app/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$work/app/styles/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll libquadmath-0.dll; do
  path=$(x86_64-w64-mingw32-g++-posix -print-file-name="$dll")
  [ -f "$path" ] || path=/usr/x86_64-w64-mingw32/lib/$dll
  cp "$path" "$work/app/"
done

target=$(run_wine winepath -w "$out" 2>/dev/null | tr -d '\r')
rm -f "$out"/form[1-5]-*.png
export work target out wine_cmd wineserver_cmd
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$work/app"
  "$wine_cmd" explorer /desktop=Default,1280x1024 dilatany-screenshots.exe "$target" </dev/null &
  # The program writes the five pictures and ends; the Wine desktop around it
  # may linger, so the pictures decide, and the Wine server then ends it all.
  for _ in $(seq 600); do
    [ "$(ls "$out"/form[1-5]-*.png 2>/dev/null | wc -l)" -eq 5 ] && break
    sleep 0.1
  done
  sleep 1
  "$wineserver_cmd" -k 2>/dev/null
  wait
  exit 0
'
for f in form1-main form2-uloop form3-uloop-material form4-lbend form5-lbend-material; do
  if [ ! -s "$out/$f.png" ]; then
    echo "$out/$f.png is missing" >&2
    exit 1
  fi
done
echo "Screenshots under Wine in $out"
