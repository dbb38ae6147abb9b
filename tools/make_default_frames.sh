#!/bin/sh
# Writes the default frames into Frame/ of the repository again, through the
# build's target make_default_frames. Usage: tools/make_default_frames.sh [build folder]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target make_default_frames
