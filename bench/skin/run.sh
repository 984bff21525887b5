#!/usr/bin/env bash
# Builds and runs the skin decoding benchmark under Wine, then the long fuzzing run.
#   bench/skin/run.sh [fuzz runs, default 1000000]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/env.sh"
"$root/scripts/build.sh" cross >/dev/null
wineserver -p </dev/null >/dev/null 2>&1
wine "$VELMO_BUILD_DIR/bench/skin/skin_decode_bench.exe" "$VELMO_BUILD_DIR/resources/skin/skin.stream"
"$root/bench/skin/fuzz-skin.sh" "${1:-1000000}"
