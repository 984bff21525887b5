#!/usr/bin/env bash
# Builds and runs the menu benchmark under Wine on a private display.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/env.sh"
source "$root/scripts/xvfb.sh"
"$root/scripts/build.sh" cross >/dev/null
velmo_xvfb_start
trap 'wineserver -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
wine "$VELMO_BUILD_DIR/bench/menus/menu_bench.exe" </dev/null
