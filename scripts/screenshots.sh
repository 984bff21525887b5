#!/usr/bin/env bash
# Builds, then takes the README's pictures of the running converter into docs/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
source scripts/env.sh
source scripts/xvfb.sh
./scripts/build.sh cross >/dev/null
velmo_xvfb_start
trap 'wineserver -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
shots=$(mktemp -d)
wine "$VELMO_BUILD_DIR/tests/e2e/velmo_screenshots.exe" "$(winepath -w "$shots")" </dev/null
for f in "$shots"/*.bmp; do
  convert "$f" "docs/$(basename "${f%.bmp}").png"
  echo "docs/$(basename "${f%.bmp}").png"
done
# The board of every kind of skinned control, drawn by the wrappers on real controls.
wine "$VELMO_BUILD_DIR/tests/skin/controls/skin_control_gallery.exe" "$(winepath -w "$shots")\\board.bmp" \
  </dev/null >/dev/null
convert "$shots/board.bmp" docs/skin-controls.png
echo docs/skin-controls.png
# The same board wearing the second skin, loaded as a skin file.
wine "$VELMO_BUILD_DIR/tests/skin/controls/skin_control_gallery.exe" "$(winepath -w "$shots")\\board-ember.bmp" \
  "$(winepath -w "$VELMO_BUILD_DIR/resources/skin-ember/VelmoEmber.skin")" </dev/null >/dev/null
convert "$shots/board-ember.bmp" docs/skin-controls-ember.png
echo docs/skin-controls-ember.png
rm -rf "$shots"
