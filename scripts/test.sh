#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build, the sanitizer build,
# and the Windows DLL with its tests under Wine.
# Usage: scripts/test.sh [linux|sanitize|windows ...]   (default: all three)
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(linux sanitize windows)

scripts/setup.sh all
jobs=$(nproc)

for preset in "${presets[@]}"; do
  echo "== $preset: configure and build"
  if [ "$preset" = windows ]; then
    source scripts/wine-env.sh
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: tests"
  ctest --preset "$preset" -j "$jobs"
done
