#!/usr/bin/env bash
# Builds and runs the skin decoding and packing benchmark under Wine, then the long fuzzing
# run.   bench/skin/run.sh [fuzz runs, default 5000000; 0 skips the fuzzing]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/env.sh"
"$root/scripts/build.sh" cross >/dev/null
wineserver -p </dev/null >/dev/null 2>&1 || true
wine "$VELMO_BUILD_DIR/bench/skin/skin_decode_bench.exe" "$VELMO_BUILD_DIR/resources/skin/skin.stream"
if [ "${1:-5000000}" != 0 ]; then
  "$root/bench/skin/fuzz-skin.sh" "${1:-5000000}"
fi
