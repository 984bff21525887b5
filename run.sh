#!/usr/bin/env bash
# Sets everything up, builds, and starts the converter under Wine: the 32-bit program where
# this machine runs 32-bit code, else the 64-bit one (VELMO_ARCH=32 or 64 picks one); on
# $DISPLAY when there is one, otherwise on a virtual display, with a screenshot whose path is
# printed.
set -euo pipefail
cd "$(dirname "$0")"
requested="${VELMO_ARCH:-}"
# Probes once whether this machine runs 32-bit code; set-up inherits the answer.
source scripts/env.sh
./scripts/setup.sh
if [ -z "$VELMO_LOCALE_SET" ] && [ -z "${VELMO_RUN_RESTARTED:-}" ]; then
  # Set-up has just made the locale: afresh, in a shell that can load it (see env.sh).
  exec env VELMO_ARCH="$requested" VELMO_RUN_RESTARTED=1 "$0" "$@"
fi
./scripts/build.sh cross "$VELMO_ARCH" >/dev/null
exe="$VELMO_DIST/VelmoConvert.exe"
if [ "$VELMO_RUNNABLE" = 64 ] && [ "$VELMO_ARCH" = 64 ]; then
  echo "Starting the 64-bit program: this machine's kernel refuses 32-bit code."
else
  echo "Starting the $VELMO_ARCH-bit program."
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$VELMO_WINE" "$exe"
fi

source scripts/xvfb.sh
source scripts/screenshot.sh
velmo_xvfb_start
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
"$VELMO_WINE" "$exe" </dev/null >/dev/null 2>&1 &
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
