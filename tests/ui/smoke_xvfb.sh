#!/usr/bin/env bash
# Starts the real program on a virtual X display, waits for its main window,
# closes it as the title bar's close button would, and checks that the program
# then ends by itself with status 0.
# Usage: smoke_xvfb.sh PATH/TO/dilatany PATH/TO/close-window
set -euo pipefail
program=$1
closer=$2

# xvfb-run passes the inner script's status through.
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  program=$1 closer=$2
  "$program" & pid=$!
  if ! "$closer" Dilatany 30; then
    kill "$pid" 2>/dev/null
    echo "the main window did not appear" >&2
    exit 1
  fi
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    echo "the program kept running after its last window closed" >&2
    exit 1
  fi
  status=0
  wait "$pid" || status=$?
  echo "dilatany ended with status $status"
  exit "$status"
' smoke "$program" "$closer"
