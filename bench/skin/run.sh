#!/usr/bin/env bash
# Builds and runs the skin decoding and packing benchmark under Wine (on the build
# scripts/env.sh chose; VELMO_ARCH=32 or 64 picks one), then the long fuzzing run.
#   bench/skin/run.sh [fuzz runs, default 5000000; 0 skips the fuzzing]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/env.sh"
"$root/scripts/build.sh" cross "$VELMO_ARCH" >/dev/null
echo "bench: the $VELMO_ARCH-bit build"
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$VELMO_WINE" "$VELMO_TREE/bench/skin/skin_decode_bench.exe" "$VELMO_TREE/resources/skin/skin.stream"
if [ "${1:-5000000}" != 0 ]; then
  "$root/bench/skin/fuzz-skin.sh" "${1:-5000000}"
fi
