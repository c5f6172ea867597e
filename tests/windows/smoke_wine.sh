#!/usr/bin/env bash
# The unzipped Windows program under Wine, as a person would use it: on a
# virtual X display in a Wine virtual desktop, the window "Dilatany" appears,
# "Dilatan U" is clicked, then "Výpočet" in the U-loop window; the four
# result texts the window then shows are read through UI Automation and must
# be those that dilatany-check.exe from the same zip gives for the default
# inputs (examples/u-default.dat). Then the window is closed and the program
# must end by itself.
# Usage: smoke_wine.sh dilatany-VERSION-windows-x86_64.zip uia-driver.exe
set -euo pipefail
zip=$(realpath "$1")
driver=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/dilatany-smoke-wine.XXXXXX)
keep=${KEEP_SMOKE:-0}
cleanup() { [ "$keep" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT

unzip -q "$zip" -d "$work/unzipped"
app=$(find "$work/unzipped" -maxdepth 2 -name dilatany.exe)
appdir=$(dirname "$app")
cp "$driver" "$work/uia-driver.exe"

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
  drive() { "$wine_cmd" "$work/uia-driver.exe" "$@" </dev/null; }
  fail() { echo "smoke test: $*" >&2; "$wineserver_cmd" -k 2>/dev/null; exit 1; }

  # The desktop is named Default: the driver, started on its own, lands on it.
  start=$(date +%s%N)
  (cd "$appdir" && exec "$wine_cmd" explorer /desktop=Default,1024x768 dilatany.exe) </dev/null \
    >"$work/program.log" 2>&1 &
  program=$!

  drive wait Dilatany 60 || fail "the window Dilatany did not appear"
  echo "the window Dilatany appeared after $(( ($(date +%s%N) - start) / 1000000 )) ms"
  drive dump Dilatany >"$work/main.tree" || fail "no window tree of Dilatany"
  grep -q "	Dilatan U	" "$work/main.tree" || { cat "$work/main.tree" >&2; fail "no button Dilatan U"; }
  drive click Dilatany "Dilatan U" || fail "could not click Dilatan U"
  drive wait "Dilatan U" 20 || fail "the U-loop window did not open"
  drive gone Dilatany 10 || fail "the main window stayed open"

  drive dump "Dilatan U" >"$work/before.tree" || fail "no window tree of Dilatan U"
  drive click "Dilatan U" "Výpočet" || { cat "$work/before.tree" >&2; fail "could not click Výpočet"; }
  missing=
  for _ in $(seq 50); do
    sleep 0.2
    drive dump "Dilatan U" >"$work/after.tree" || fail "no window tree after the calculation"
    missing=
    for text in "$allowable" "$stress" "$reserve" "$verdict"; do
      grep -qF "	$text	" "$work/after.tree" || missing="$missing [$text]"
    done
    [ -z "$missing" ] && break
  done
  if [ -n "$missing" ]; then
    cat "$work/after.tree" >&2
    fail "the window does not show the results$missing"
  fi
  for text in "$allowable" "$stress" "$reserve" "$verdict"; do
    if grep -qF "	$text	" "$work/before.tree"; then fail "[$text] was shown before the calculation"; fi
  done
  echo "the U-loop window shows: $allowable | $stress | $reserve | $verdict"

  drive close "Dilatan U" || fail "could not close the U-loop window"
  drive gone "Dilatan U" 10 || fail "the U-loop window did not close"
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$program" 2>/dev/null; then fail "the program kept running after its last window closed"; fi
  wait "$program" || fail "the program ended with status $?"
  "$wineserver_cmd" -k 2>/dev/null
  echo "dilatany.exe under Wine: passed"
'
