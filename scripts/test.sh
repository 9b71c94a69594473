#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build, clang-tidy over the
# plug-in's sources, the sanitizer build, the Windows DLL with its tests under
# Wine, and bounded fuzz runs.
# Usage: scripts/test.sh [linux|lint|sanitize|windows|fuzz ...]   (default: all five)
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(linux lint sanitize windows fuzz)

scripts/setup.sh all
jobs=$(nproc)

# clang-format (.clang-format) over every source, then clang-tidy (.clang-tidy)
# over src/ with the linux build's compile commands; any finding fails the run.
lint() {
  echo "== lint: clang-format over the sources"
  if ! git ls-files '*.cpp' '*.h' | xargs clang-format-14 --dry-run -Werror; then
    echo "lint: sources not formatted (above); clang-format-14 -i applies .clang-format"
    return 1
  fi
  echo "== lint: clang-tidy over src/"
  [ -f build/linux/compile_commands.json ] || cmake --preset linux >/dev/null
  if ! find src -name '*.cpp' -print0 | sort -z |
       xargs -0 -n 1 -P "$jobs" clang-tidy-14 -p build/linux --quiet 2>&1 |
       { grep -v ' warnings\? generated\.$' || true; }; then
    echo "lint: clang-tidy findings (above)"
    return 1
  fi
  echo "lint: no findings"
}

for preset in "${presets[@]}"; do
  case "$preset" in
    fuzz) scripts/fuzz.sh; continue ;;
    lint) lint; continue ;;
  esac
  echo "== $preset: configure and build"
  if [ "$preset" = windows ]; then
    source scripts/wine-env.sh
    export CORVANTIDE_WINE_RETRY_LOG="$PWD/build/windows/wine-retries.log"
    rm -f "$CORVANTIDE_WINE_RETRY_LOG"
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: tests"
  ctest --preset "$preset" -j "$jobs"
  if [ "$preset" = windows ]; then
    # Programs Wine ended before they said a word, and wine-run.sh started again.
    if [ -s "$CORVANTIDE_WINE_RETRY_LOG" ]; then
      echo "windows: Wine ended $(wc -l <"$CORVANTIDE_WINE_RETRY_LOG") program start(s) silently; each was started again:"
      cat "$CORVANTIDE_WINE_RETRY_LOG"
    else
      echo "windows: every Windows program started at the first try"
    fi
  fi
done
