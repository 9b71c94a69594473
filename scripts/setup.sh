#!/usr/bin/env bash
# Installs what building and testing Corvantide needs on a Debian machine.
# Usage: scripts/setup.sh [linux|all]   (linux: enough for the demo)
set -euo pipefail

scope=${1:-all}
packages=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
          libcli11-dev librsvg2-bin locales)
if [ "$scope" = all ]; then
  packages+=(g++-mingw-w64-x86-64 wine wine64 clang libclang-rt-14-dev clang-tidy-14 clang-format-14 zip unzip cmark-gfm)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
# Wine comes with what it recommends (the configuration the tests were proven
# with); everything else without.
wine=() rest=()
for package in "${missing[@]}"; do
  case "$package" in wine|wine64) wine+=("$package") ;; *) rest+=("$package") ;; esac
done
install=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq)
[ ${#rest[@]} -eq 0 ] || "${install[@]}" --no-install-recommends "${rest[@]}" >/dev/null
[ ${#wine[@]} -eq 0 ] || "${install[@]}" "${wine[@]}" >/dev/null
