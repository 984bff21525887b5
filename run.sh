#!/usr/bin/env bash
# Sets everything up, builds, and starts the converter under Wine: on $DISPLAY when there is
# one, otherwise on a virtual display, with a screenshot whose path is printed.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
source scripts/env.sh
./scripts/build.sh cross >/dev/null
exe="$VELMO_BUILD_DIR/dist/VelmoConvert.exe"

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi

source scripts/xvfb.sh
source scripts/screenshot.sh
velmo_xvfb_start
trap 'wineserver -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
wine "$exe" </dev/null >/dev/null 2>&1 &
app=$!
sleep "${VELMO_SCREENSHOT_DELAY:-6}"
shot="$VELMO_BUILD_DIR/screenshots/run.png"
mkdir -p "$(dirname "$shot")"
velmo_screenshot "$shot"
echo "No display: the converter runs on the virtual display $DISPLAY."
echo "Screenshot: $shot"
if [ -n "${VELMO_RUN_SECONDS:-}" ]; then
  sleep "$VELMO_RUN_SECONDS"
else
  echo "Press Ctrl-C to stop."
  wait "$app" || true
fi
