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
# Under load Wine now and then ends a program it has just started with
# status 1 before the program says a word (a few runs in a hundred on a busy
# 2-core machine). Every program run here prints when it fails, so a failure
# without a word is Wine's: it is said, and the program started again, twice
# at most. Any other failure names its status. Each such start is also
# noted in $CORVANTIDE_WINE_RETRY_LOG when it is set, for the run's summary.
out=$(mktemp) && err=$(mktemp) || exit 1
attempt=1
while :; do
  wine "$@" >"$out" 2>"$err"
  status=$?
  cat "$out"
  cat "$err" >&2
  if [ "$status" -eq 1 ] && [ ! -s "$out" ] && [ ! -s "$err" ] && [ "$attempt" -lt 3 ]; then
    echo "wine-run: $(basename "$1") ended with status 1 without a word; starting it again" >&2
    [ -z "${CORVANTIDE_WINE_RETRY_LOG:-}" ] || echo "$*" >>"$CORVANTIDE_WINE_RETRY_LOG"
    attempt=$((attempt + 1))
    continue
  fi
  break
done
rm -f "$out" "$err"
[ "$status" -eq 0 ] || echo "wine-run: $(basename "$1") ended with status $status" >&2
exit "$status"
