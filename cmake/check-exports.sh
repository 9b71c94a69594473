#!/bin/sh
# Checks that the plug-in library exports exactly InitCustomize and, for the
# DLL, imports only DLLs every Windows has.
# Usage: check-exports.sh LIBRARY [OBJDUMP]
set -eu
library=$1
objdump=${2:-}
case "$library" in
  *.dll)
    table=$("$objdump" -p "$library")
    exports=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      grep -oE '^\s*\[ *[0-9]+\] [A-Za-z_][A-Za-z0-9_@]*' | sed 's/.*\] //')
    imports=$(printf '%s\n' "$table" | sed -n 's/^\s*DLL Name: //p' | tr '[:lower:]' '[:upper:]' | sort -u)
    for dll in $imports; do
      case "$dll" in
        KERNEL32.DLL|USER32.DLL|MSVCRT.DLL) ;;
        *) echo "unexpected import: $dll"; exit 1 ;;
      esac
    done
    printf '%s\n' "$imports" | grep -qx USER32.DLL || { echo "GetAsyncKeyState must come from USER32"; exit 1; }
    ;;
  *)
    exports=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TDBVWRi]$/ {print $3}')
    nm -D --undefined-only "$library" | grep -qw GetAsyncKeyState ||
      { echo "GetAsyncKeyState must stay an undefined symbol"; exit 1; }
    ;;
esac
if [ "$exports" != "InitCustomize" ]; then
  echo "exports are not exactly InitCustomize:"; printf '%s\n' "$exports"; exit 1
fi
echo "exports: $exports"
