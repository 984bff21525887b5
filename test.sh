#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the native tests (sanitizers, and the checks
# of both builds' program folders and zips) first, then the Windows tests under Wine on a
# private display, on each build this machine can run: the 32-bit and the 64-bit one where the
# kernel runs 32-bit code, else the 64-bit one. VELMO_ARCH=32 or 64 runs the Wine tests of
# that build only. Arguments go to every ctest call (e.g. -R Pattern).
# The last line sums up every suite: "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")"
requested="${VELMO_ARCH:-}"
./scripts/setup.sh
source scripts/env.sh
source scripts/xvfb.sh

if [ -n "$requested" ]; then
  suites="$requested"
  why="VELMO_ARCH=$requested asks for it"
elif [ "$VELMO_RUNNABLE" = "32 64" ]; then
  suites="32 64"
  why="this machine runs 32-bit and 64-bit code"
else
  suites="64"
  why="this machine's kernel refuses 32-bit code"
fi
echo "test: Wine tests on the $(echo "$suites" | sed 's/ / and the /g; s/\([0-9][0-9]\)/\1-bit/g') build: $why"

# Both builds are made on any machine: compile errors show, and the native tests check both
# program folders and zips.
./scripts/build.sh native
./scripts/build.sh cross both

passed=0
failed=0
summary=$(mktemp)
cleanup() { "$WINESERVER" -k >/dev/null 2>&1 || true; velmo_xvfb_stop; rm -f "$summary"; }
trap cleanup EXIT

# run_suite <name> <tree> [ctest args]: runs CTest there and adds its counts to the totals.
run_suite() {
  local name=$1 tree=$2 rc=0
  shift 2
  echo "test: $name"
  (cd "$tree" && ctest --output-on-failure -j "$(nproc)" "$@") | tee "$summary" || rc=$?
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$summary" | tail -1 || true)
  if [ -n "$line" ]; then
    local total fails
    fails=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
  elif [ "$rc" != 0 ]; then
    failed=$((failed + 1))
  fi
}

run_suite "native tests" "$VELMO_BUILD_DIR/native" "$@"

velmo_xvfb_start
# The long stress runs (CTest label "long": 100 skin swaps in each state, some 5 minutes) go
# in the first Wine suite only, the product's build where it runs; VELMO_LONG_TESTS=all runs
# them in every suite.
first_suite=1
for arch in $suites; do
  long=()
  if [ "$first_suite" = 0 ] && [ "${VELMO_LONG_TESTS:-}" != all ]; then
    long=(-LE long)
    echo "test: the long stress tests ran in the first suite; VELMO_LONG_TESTS=all runs them here too"
  fi
  first_suite=0
  velmo_use_arch "$arch"
  # A server started with detached descriptors, so that no test waits for it or holds CTest's
  # pipes; likewise the desktop process, which the first test that needs a desktop would start
  # otherwise, keeping that test's output pipe open until the server ends.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true  # one may run already
  "$VELMO_WINE" wineboot.exe </dev/null >/dev/null 2>&1
  "$VELMO_WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  sleep 2
  run_suite "Wine tests, $arch-bit build" "$VELMO_TREE" "${long[@]}" "$@"
  "$WINESERVER" -k >/dev/null 2>&1 || true
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
