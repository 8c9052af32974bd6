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
# A test program ended from outside (wineserver -k, a crash the debugger swallowed) may still
# leave with 0: one that began its tests and never said they all ran has not passed.
if [ $status -eq 0 ] && grep -q '^\[==========\] Running ' "$out" &&
   ! grep -Eq '^\[==========\] [0-9]+ tests? from [0-9]+ test (suite|case)s? ran' "$out"; then
  echo "wine-run: $exe ended before its tests were done" >&2
  status=1
fi
rm -f "$out"
exit $status
