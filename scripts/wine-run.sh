#!/bin/sh
# Runs a Windows program under Wine for CTest. Wine is slow to end a program
# whose output goes to a pipe, so the output goes through a file instead.
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
