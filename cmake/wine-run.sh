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
exec wine "$@"
