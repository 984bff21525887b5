#!/usr/bin/env bash
# Builds the Windows programs and runs one benchmark under Wine on a private display.
#   bench/gui-bench.sh <program below build/bench/, e.g. frames/skinned_window_bench.exe>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/env.sh"
source "$root/scripts/xvfb.sh"
"$root/scripts/build.sh" cross >/dev/null
velmo_xvfb_start
trap 'wineserver -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
wine "$VELMO_BUILD_DIR/bench/$1" </dev/null 2> >(grep -v '^wine: Read access denied' >&2)
