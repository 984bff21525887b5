#!/usr/bin/env bash
# Configures and builds: `build.sh cross` (the Windows program and its tests, default)
# or `build.sh native` (the Windows-free code with sanitizers).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
kind=${1:-cross}
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ "$kind" = native ]; then
  dir="$VELMO_BUILD_DIR/native"
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$VELMO_ROOT" -B "$dir" "${gen[@]}" -DVELMO_NATIVE=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
else
  dir="$VELMO_BUILD_DIR"
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$VELMO_ROOT" -B "$dir" "${gen[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$VELMO_ROOT/cmake/toolchain-mingw32.cmake" -DVELMO_ENGINE="$VELMO_ENGINE" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
