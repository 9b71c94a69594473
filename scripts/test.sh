#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build, the sanitizer build,
# the Windows DLL with its tests under Wine, and bounded fuzz runs.
# Usage: scripts/test.sh [linux|sanitize|windows|fuzz ...]   (default: all four)
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(linux sanitize windows fuzz)

scripts/setup.sh all
jobs=$(nproc)

# A decimal-comma locale of our own, so the tests can prove that files never
# follow the process locale.
if [ ! -d build/locales/de_DE.UTF-8 ] && command -v localedef >/dev/null; then
  mkdir -p build/locales
  localedef -i de_DE -f UTF-8 build/locales/de_DE.UTF-8 2>/dev/null || true
fi
export LOCPATH="$(pwd)/build/locales"

for preset in "${presets[@]}"; do
  if [ "$preset" = fuzz ]; then
    scripts/fuzz.sh
    continue
  fi
  echo "== $preset: configure and build"
  if [ "$preset" = windows ]; then
    source scripts/wine-env.sh
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: tests"
  ctest --preset "$preset" -j "$jobs"
done
