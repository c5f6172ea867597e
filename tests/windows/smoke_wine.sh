#!/usr/bin/env bash
# The unzipped Windows program under Wine, as a person would use it: on a
# virtual X display in a Wine virtual desktop, the window "Dilatany" appears,
# "Dilatan U" is clicked with the mouse, then "Výpočet" in the U-loop window;
# the four result texts the window then shows must be those that
# dilatany-check.exe from the same zip gives for the default inputs
# (examples/u-default.dat). Then the window is closed and the program must end
# by itself.
#
# Where the buttons are and what the labels say is read from the window tree
# that a test-only Qt plugin (tree_probe.cpp) writes from inside the program;
# the clicks are real mouse input from outside (window_driver.cpp).
# Usage: smoke_wine.sh dilatany-VERSION-windows-x86_64.zip window-driver.exe dilatany-window-tree.dll
set -euo pipefail
zip=$(realpath "$1")
driver=$(realpath "$2")
probe=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/dilatany-smoke-wine.XXXXXX)
keep=${KEEP_SMOKE:-0}
cleanup() { [ "$keep" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT

unzip -q "$zip" -d "$work/unzipped"
app=$(find "$work/unzipped" -maxdepth 2 -name dilatany.exe)
appdir=$(dirname "$app")
cp "$driver" "$work/window-driver.exe"
mkdir -p "$appdir/generic"
cp "$probe" "$appdir/generic/"

# shellcheck source=wine_env.sh
. "$here/wine_env.sh"
wine_fresh_prefix "$work/prefix"

# What the checker says for the default inputs of the U-loop window.
expected=$(cd "$appdir" && run_wine dilatany-check.exe u 'priklady\u-default.dat' </dev/null | tr -d '\r')
IFS=$'\t' read -r _ allowable stress reserve verdict <<<"$expected"
if [ -z "${verdict:-}" ]; then
  echo "dilatany-check.exe gave no result: $expected" >&2
  exit 1
fi

export work appdir allowable stress reserve verdict wine_cmd wineserver_cmd
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  tree=$appdir/window-tree.txt
  drive() { "$wine_cmd" "$work/window-driver.exe" "$@" </dev/null; }
  fail() {
    echo "smoke test: $*" >&2
    [ -f "$tree" ] && sed "s/^/  tree: /" "$tree" >&2
    "$wineserver_cmd" -k 2>/dev/null
    exit 1
  }
  # The field of one control of one window in the tree: 3 its text, 4 its place.
  control() { # WINDOW KIND NAME_OR_TEXT FIELD
    awk -F"\t" -v w="$1" -v k="$2" -v n="$3" -v f="$4" \
      "\$1 == \"window\" { inside = (\$3 == w) } inside && \$1 == k && (\$2 == n || \$3 == n) { print \$f; exit }" \
      "$tree" 2>/dev/null
  }
  click() { # WINDOW BUTTON_TEXT
    local place x y w h
    for _ in $(seq 50); do
      place=$(control "$1" button "$2" 4)
      [ -n "$place" ] && break
      sleep 0.1
    done
    [ -n "$place" ] || fail "the window $1 shows no button $2"
    IFS=, read -r x y w h <<<"$place"
    drive click $((x + w / 2)) $((y + h / 2))
  }

  # The desktop is named Default: the driver, started on its own, lands on it.
  start=$(date +%s%N)
  (cd "$appdir" && exec "$wine_cmd" explorer /desktop=Default,1024x768 dilatany.exe -plugin dilatany-window-tree) \
    </dev/null >"$work/program.log" 2>&1 &
  program=$!

  drive wait Dilatany 60 || fail "the window Dilatany did not appear"
  echo "the window Dilatany appeared after $(( ($(date +%s%N) - start) / 1000000 )) ms"
  # A click that arrives while the window is still being shown and activated
  # can be lost, as it can for a person, who then clicks again.
  opened=0
  for _ in 1 2 3 4 5; do
    click Dilatany "Dilatan U"
    if drive wait "Dilatan U" 4; then opened=1; break; fi
  done
  [ $opened = 1 ] || fail "the U-loop window did not open"
  drive gone Dilatany 10 || fail "the main window stayed open"

  sleep 0.5
  for i in 0 1 2 3; do
    [ -z "$(control "Dilatan U" label "Label3($i)" 3)" ] || fail "result $i was shown before the calculation"
  done
  shown=
  for attempt in $(seq 50); do
    # The calculation gives the same results however often it runs.
    [ $((attempt % 15)) = 1 ] && click "Dilatan U" "Výpočet"
    sleep 0.2
    shown="$(control "Dilatan U" label "Label3(0)" 3)|$(control "Dilatan U" label "Label3(1)" 3)|$(control "Dilatan U" label "Label3(2)" 3)|$(control "Dilatan U" label "Label3(3)" 3)"
    [ "$shown" = "$allowable|$stress|$reserve|$verdict" ] && break
  done
  [ "$shown" = "$allowable|$stress|$reserve|$verdict" ] \
    || fail "the window shows [$shown], dilatany-check.exe gives [$allowable|$stress|$reserve|$verdict]"
  echo "the U-loop window shows: $shown"

  drive close "Dilatan U" || fail "could not close the U-loop window"
  drive gone "Dilatan U" 10 || fail "the U-loop window did not close"
  # The program itself must end; the Wine desktop around it may linger.
  drive ended dilatany.exe 10 || fail "the program kept running after its last window closed"
  "$wineserver_cmd" -k 2>/dev/null
  wait "$program" 2>/dev/null || true
  echo "dilatany.exe under Wine: passed"
'
