#!/usr/bin/env bash
# The runner of the tests under Wine, with a stand-in loader whose child keeps its output
# open, as the desktop process that Wine starts with a first window does: the runner must
# end with the program, passing on its output and its exit status.
# Usage: wine_run_test.sh SOURCE_ROOT
root=$1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cat >"$work/loader" <<'LOADER'
#!/bin/sh
echo "$1 ran in $WINEPREFIX"
echo "and said so on standard error" >&2
sleep 20 &
exit 7
LOADER
chmod +x "$work/loader"
start=$SECONDS
output=$("$root/cmake/wine-run" "$work/loader" /the/prefix program.exe)
status=$?
failed=0
check() { if ! eval "$2"; then echo "FAILED: $1"; failed=1; fi; }
check "the runner ends with the program, not with its child ($((SECONDS - start)) s)" '[ $((SECONDS - start)) -lt 10 ]'
check "the program's exit status comes through ($status)" '[ $status -eq 7 ]'
check "its standard output comes through" '[[ $output == *"program.exe ran in /the/prefix"* ]]'
check "its standard error comes through" '[[ $output == *"and said so on standard error"* ]]'
exit $failed
