#!/bin/sh
# dilatany-check with standard input and output that cannot be used.
# Usage: broken_io.sh CHECKER EXAMPLES_DIR
checker=$1
examples=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Standard input is a folder: an error line for "-", earlier lines kept, status 2.
"$checker" u "$examples/u-default.dat" - < "$tmp" > "$tmp/out" 2> "$tmp/err"
status=$?
[ "$status" -eq 2 ] || fail "folder on stdin: status $status"
expected="$examples/u-default.dat	20.00	5.33	73	Vyhovuje
-	error	Soubor „-“ nelze přečíst."
[ "$(cat "$tmp/out")" = "$expected" ] || fail "folder on stdin: output $(cat "$tmp/out")"

# Standard input closed.
"$checker" u - <&- > "$tmp/out" 2> "$tmp/err"
status=$?
[ "$status" -eq 2 ] || fail "closed stdin: status $status"
grep -q '^-	error	' "$tmp/out" || fail "closed stdin: output $(cat "$tmp/out")"

# A full device: a message on stderr and status 3.
if [ -w /dev/full ]; then
    "$checker" u "$examples/u-default.dat" > /dev/full 2> "$tmp/err"
    status=$?
    [ "$status" -eq 3 ] || fail "/dev/full: status $status"
    grep -q 'nelze zapsat' "$tmp/err" || fail "/dev/full: stderr $(cat "$tmp/err")"
fi

# A reader that has gone, with SIGPIPE ignored (as some parents leave it):
# EPIPE ends quietly with status 3. Enough lines to overflow any buffer.
set --
i=0
while [ $i -lt 3000 ]; do set -- "$@" "$examples/u-default.dat"; i=$((i + 1)); done
(trap '' PIPE; "$checker" u "$@" 2> "$tmp/err"; echo $? > "$tmp/status") | head -n 1 > /dev/null
status=$(cat "$tmp/status")
[ "$status" -eq 3 ] || fail "closed pipe: status $status"
[ ! -s "$tmp/err" ] || fail "closed pipe: stderr $(cat "$tmp/err")"

exit $failures
