#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program. Until the desktop program is
# there, that is kovanta-batch, run on a folder of generated demo photos with the default frame.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
demo="$PWD/build/demo"
rm -rf "$demo"
build/tools/make_demo_photos "$demo/photos"
build/kovanta-batch "$demo/photos" "$demo/framed"
echo
echo "Demo photos:          $demo/photos"
echo "Framed with captions: $demo/framed"
echo "For your own photos: build/kovanta-batch PHOTO_FOLDER OUTPUT_FOLDER (see --help)"
