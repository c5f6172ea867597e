#!/usr/bin/env bash
# Writes tests/cli/expected/ anew from the Linux build's dilatany-check
# (default build/): run after a deliberate change of the checker's output,
# then read the diff before committing it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
dir=$build/tests/cli/checker_output
[ -x "$build/cli/dilatany-check" ] || { echo "Není $build/cli/dilatany-check: nejdřív make build." >&2; exit 1; }
(cd "$build" && ctest -R '^checker_output\.' >/dev/null 2>&1) || true
for out in "$dir"/*.out; do
  name=$(basename "$out" .out)
  cp "$out" "tests/cli/expected/$name.out"
  if [ -s "$dir/$name.err" ]; then
    cp "$dir/$name.err" "tests/cli/expected/$name.err"
  else
    rm -f "tests/cli/expected/$name.err"
  fi
done
git status --short tests/cli/expected
