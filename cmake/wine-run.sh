#!/bin/sh
# Runs a Windows program under Wine; Wine needs the .exe suffix when the path has a folder part.
exe=$1; shift
[ ! -f "$exe" ] && [ -f "$exe.exe" ] && exe="$exe.exe"
exec wine "$exe" "$@"
