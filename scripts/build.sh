#!/usr/bin/env bash
# Configures and builds:
#   build.sh native          the Windows-free code with sanitizers ($VELMO_BUILD_DIR/native)
#   build.sh cross [32|64|both]
#                            the Windows program and its tests: the build scripts/env.sh
#                            chose (VELMO_ARCH), one named, or both; each in its own tree
#                            (32-bit: $VELMO_BUILD_DIR, 64-bit: $VELMO_BUILD_DIR/x64).
# Every build is made whether or not this machine can run it, so compile errors show.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
kind=${1:-cross}
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)

build_cross() {
  velmo_use_arch "$1"
  local toolchain=toolchain-mingw32.cmake
  [ "$1" = 64 ] && toolchain=toolchain-mingw64.cmake
  [ -f "$VELMO_TREE/CMakeCache.txt" ] || cmake -S "$VELMO_ROOT" -B "$VELMO_TREE" "${gen[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$VELMO_ROOT/cmake/$toolchain" -DVELMO_ENGINE="$VELMO_ENGINE" \
    -DVELMO_RELEASE_DIR="$VELMO_BUILD_DIR" >/dev/null
  cmake --build "$VELMO_TREE" -j "$(nproc)"
}

case "$kind" in
  native)
    dir="$VELMO_BUILD_DIR/native"
    [ -f "$dir/CMakeCache.txt" ] || cmake -S "$VELMO_ROOT" -B "$dir" "${gen[@]}" -DVELMO_NATIVE=ON \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DVELMO_RELEASE_DIR="$VELMO_BUILD_DIR" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
    ;;
  cross)
    case "${2:-$VELMO_ARCH}" in
      32 | 64) build_cross "${2:-$VELMO_ARCH}" ;;
      both) build_cross 32 && build_cross 64 ;;
      *) echo "build.sh cross [32|64|both]" >&2; exit 2 ;;
    esac
    ;;
  *) echo "build.sh native | cross [32|64|both]" >&2; exit 2 ;;
esac
