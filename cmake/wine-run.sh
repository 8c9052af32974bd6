#!/bin/sh
# Runs a Windows program under Wine; Wine needs the .exe suffix when the path has a folder part.
# The program's output goes through a file, not straight to the caller's pipe: a Wine service the
# program started on demand inherits its handles and may live on for minutes, and the caller
# (ctest) would wait for the pipe to close however soon the program itself ended.
exe=$1; shift
[ ! -f "$exe" ] && [ -f "$exe.exe" ] && exe="$exe.exe"
out=$(mktemp "${TMPDIR:-/tmp}/bkf-wine-run.XXXXXX") || exec wine "$exe" "$@"
status=0
wine "$exe" "$@" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
rm -f "$out"
exit $status
