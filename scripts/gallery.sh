#!/usr/bin/env bash
# One picture of every screen at 800 x 600 and 1920 x 1080, for people to
# look at: the layout check (tests/layout) draws each screen headless and,
# told a folder in PLIMBO_GALLERY, saves it there as a PNG.
#
#   scripts/gallery.sh [BUILD_FOLDER]    default: build; pictures in BUILD_FOLDER/gallery/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target tests_layout -j2
out="$build/gallery"
rm -rf "$out"
mkdir -p "$out"
cd "$build"
# The pictures are wanted even when a screen fails the check: that is when
# people most need to see it. The check's own verdict is printed as well.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy PLIMBO_GALLERY="$out" ./tests_layout --gtest_brief=1 ||
  echo "gallery.sh: some screens fail the layout check (above)"
ls "$out"/*.png
