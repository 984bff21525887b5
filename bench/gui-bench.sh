#!/usr/bin/env bash
# Builds the Windows programs and runs one benchmark under Wine on a private display, on the
# build scripts/env.sh chose (VELMO_ARCH=32 or 64 picks one), and says which it measured.
#   bench/gui-bench.sh <program below the tree's bench/, e.g. frames/skinned_window_bench.exe>
#   [its arguments]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/env.sh"
source "$root/scripts/xvfb.sh"
"$root/scripts/build.sh" cross "$VELMO_ARCH" >/dev/null
echo "bench: the $VELMO_ARCH-bit build"
velmo_xvfb_start
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$VELMO_WINE" wineboot.exe </dev/null >/dev/null 2>&1
"$VELMO_WINE" "$VELMO_TREE/bench/$1" "${@:2}" </dev/null 2> >(grep -v '^wine: Read access denied' >&2)
