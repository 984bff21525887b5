#!/usr/bin/env bash
# Builds, then takes the README's pictures of the running converter into docs/ (from the
# build scripts/env.sh chose: the 32-bit one where it runs; VELMO_ARCH=32 or 64 picks one).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
source scripts/env.sh
source scripts/xvfb.sh
./scripts/build.sh cross "$VELMO_ARCH" >/dev/null
echo "screenshots: the $VELMO_ARCH-bit build"
velmo_xvfb_start
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$VELMO_WINE" wineboot.exe </dev/null >/dev/null 2>&1
shots=$(mktemp -d)
winshots=$("$VELMO_WINE" winepath.exe -w "$shots" 2>/dev/null | tr -d '\r')
"$VELMO_WINE" "$VELMO_TREE/tests/e2e/velmo_screenshots.exe" "$winshots" </dev/null
for f in "$shots"/*.bmp; do
  convert "$f" "docs/$(basename "${f%.bmp}").png"
  echo "docs/$(basename "${f%.bmp}").png"
done
# The board of every kind of skinned control, drawn by the wrappers on real controls.
"$VELMO_WINE" "$VELMO_TREE/tests/skin/controls/skin_control_gallery.exe" "$winshots\\board.bmp" \
  </dev/null >/dev/null
convert "$shots/board.bmp" docs/skin-controls.png
echo docs/skin-controls.png
# The same board wearing the second skin, loaded as a skin file.
ember=$("$VELMO_WINE" winepath.exe -w "$VELMO_TREE/resources/skin-ember/VelmoEmber.skin" 2>/dev/null | tr -d '\r')
"$VELMO_WINE" "$VELMO_TREE/tests/skin/controls/skin_control_gallery.exe" "$winshots\\board-ember.bmp" \
  "$ember" </dev/null >/dev/null
convert "$shots/board-ember.bmp" docs/skin-controls-ember.png
echo docs/skin-controls-ember.png
rm -rf "$shots"
