#!/bin/sh
# Runs a Windows program under Wine for CTest. Wine's background processes
# are started once, outside CTest's output pipes, or CTest would wait for
# them to close the pipe.
: "${WINEPREFIX:=$HOME/.wine}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
mkdir -p "$WINEPREFIX"
flock -o "$WINEPREFIX/.wine-run.lock" sh -c 'wineserver -p && wine cmd /c exit' >/dev/null 2>&1 </dev/null
# A program that dies before it prints anything (a Wine start that fails)
# would leave its test failed without a word: a failure names its status.
wine "$@"
status=$?
[ "$status" -eq 0 ] || echo "wine-run: $(basename "$1") ended with status $status" >&2
exit "$status"
