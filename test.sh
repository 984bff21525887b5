#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: native (sanitizers) first, then the
# Windows tests under Wine on a private display. CTest's summary is the last thing printed.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
source scripts/env.sh
source scripts/xvfb.sh

./scripts/build.sh native
./scripts/build.sh cross

cleanup() { wineserver -k >/dev/null 2>&1 || true; velmo_xvfb_stop; }
trap cleanup EXIT

(cd "$VELMO_BUILD_DIR/native" && ctest --output-on-failure -j "$(nproc)" "$@")

velmo_xvfb_start
# A server started with detached descriptors, so that no test waits for it or holds CTest's pipes.
wineserver -p </dev/null >/dev/null 2>&1 || true  # one may run already
wine wineboot </dev/null >/dev/null 2>&1
# The desktop process, started here with detached descriptors: otherwise the first test that
# needs a desktop starts it, and it keeps that test's output pipe open until the server ends.
wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
sleep 2
(cd "$VELMO_BUILD_DIR" && ctest --output-on-failure -j "$(nproc)" "$@")
