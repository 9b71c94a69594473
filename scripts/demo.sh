#!/usr/bin/env bash
# The main job, end to end on a fresh Debian machine: installs what the build
# needs, builds the plug-in and the command-line host, and runs the demo.
# Usage: scripts/demo.sh [DIR]   (default: ./corvantide-demo)
set -euo pipefail
out=$(realpath -m "${1:-corvantide-demo}")
cd "$(dirname "$0")/.."

scripts/setup.sh linux
echo "== Building (preset linux)"
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" >/dev/null
echo "== Running the demo"
echo
build/linux/bin/corvantide-sim demo --out "$out"
echo
echo "The motion files are in $out,"
echo "the pictures (the panel and one per file, as SVG) in $out/pictures."
if command -v rsvg-convert >/dev/null; then
  for svg in "$out"/pictures/*.svg; do rsvg-convert "$svg" -o "${svg%.svg}.png"; done
  echo "PNG copies of the pictures are beside them."
fi
