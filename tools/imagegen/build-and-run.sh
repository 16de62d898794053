#!/usr/bin/env bash
# Builds the image generator in its own build folder and redraws every picture of
# resources/images from scratch, so a picture that is no longer drawn does not linger. The
# how-to-use pages (htu-*.PNG) are the application's own screens, made by tools/help-pages;
# they are left as they are here.
#
#   tools/imagegen/build-and-run.sh [BUILD_DIR]      (default: build-imagegen at the top)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build-imagegen}"
images="$root/resources/images"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2

# Drawn into a fresh folder first: the old pictures stay in place if drawing fails.
fresh="$(mktemp -d "$root/resources/.images.XXXXXX")"
trap 'rm -rf "$fresh"' EXIT
QT_QPA_PLATFORM=offscreen "$build/imagegen" "$root/resources/strings" "$fresh" en ja
find "$images" -maxdepth 1 -type f \( -name '*.png' -o -name '*.PNG' \) ! -name 'htu-*' -delete 2>/dev/null || true
mkdir -p "$images"
mv "$fresh"/* "$images"/
echo "pictures written to $images"
