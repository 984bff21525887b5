#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the native tests (sanitizers, and the checks
# of both builds' program folders and zips) first, then the Windows tests under Wine on a
# private display, on each build this machine can run: the 32-bit and the 64-bit one where the
# kernel runs 32-bit code, else the 64-bit one. VELMO_ARCH=32 or 64 runs the Wine tests of
# that build only; VELMO_RUNNABLE=64 acts as a machine that refuses 32-bit code.
# Arguments go to every ctest call (e.g. -R Pattern).
# Each suite reports how many tests ran, passed, failed and were skipped; a suite that finds no
# test counts as one failure, unless arguments (a filter) were given. Failed tests (up to five a
# suite) run once more; one that passes then counts as passed and is named as flaky. The suites
# not run on this machine are named, with the reason, above the last line, which sums up every
# suite:
# "N passed, N failed, N skipped".
# -h or --help prints this text.
set -euo pipefail
case "${1:-}" in
  -h | --help)
    sed -n '2,/^set -euo/{/^#/s/^# \{0,1\}//p}' "$0"
    exit 0
    ;;
esac
cd "$(dirname "$0")"
requested="${VELMO_ARCH:-}"
# Probes once whether this machine runs 32-bit code; set-up and everything below inherit it.
source scripts/env.sh
./scripts/setup.sh
if [ -z "$VELMO_LOCALE_SET" ] && [ -z "${VELMO_TEST_RESTARTED:-}" ]; then
  # Set-up has just made the locale: afresh, in a shell that can load it (see env.sh).
  exec env VELMO_ARCH="$requested" VELMO_TEST_RESTARTED=1 "$0" "$@"
fi
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
# The Wine suites left out, each with its reason, for the end.
not_run=()
for arch in 32 64; do
  [[ " $suites " == *" $arch "* ]] && continue
  if [[ " $VELMO_RUNNABLE " != *" $arch "* ]]; then
    not_run+=("not run: Wine tests, $arch-bit build: this machine's kernel refuses 32-bit code")
  else
    not_run+=("not run: Wine tests, $arch-bit build: VELMO_ARCH=$requested asks for the $requested-bit build only")
  fi
done
echo "test: Wine tests on the $(echo "$suites" | sed 's/ / and the /g; s/\([0-9][0-9]\)/\1-bit/g') build: $why"

# Both builds are made on any machine: compile errors show, and the native tests check both
# program folders and zips.
./scripts/build.sh native
./scripts/build.sh cross both

passed=0
failed=0
skipped=0
reports=()
summary=$(mktemp)
cleanup() { "$WINESERVER" -k >/dev/null 2>&1 || true; velmo_xvfb_stop; rm -f "$summary"; }
trap cleanup EXIT

# run_suite <name> <tree> [ctest args]: runs CTest there and adds its counts to the totals,
# read from CTest's line for each test: "Passed", "***Skipped" (GTEST_SKIP) or "***Not Run
# (Disabled)" count as skipped, anything else (failed, timed out, not found) as failed.
run_suite() {
  local name=$1 tree=$2 rc=0
  shift 2
  echo "test: $name"
  (cd "$tree" && ctest --output-on-failure -j "$(nproc)" "$@") | tee "$summary" || rc=$?
  local results ran ok skips fails
  results=$(grep -E '^ *[0-9]+/[0-9]+ +Test +#[0-9]+: ' "$summary" || true)
  ran=$(grep -c . <<<"$results" || true)
  ok=$(grep -cE ' Passed +[0-9.]+ sec$' <<<"$results" || true)
  skips=$(grep -cE '\*\*\*(Skipped|Not Run \(Disabled\)) +[0-9.]+ sec$' <<<"$results" || true)
  fails=$((ran - ok - skips))
  # A test that failed runs once more, alone: one that passes then counts as passed and is named
  # as flaky in the suite's line (on a loaded machine a window test can lose a race with the
  # desktop); one that fails again stays failed.
  local flaky=""
  if [ "$fails" -gt 0 ] && [ "$fails" -le 5 ]; then
    echo "test: $name: running the $fails failed test(s) once more"
    (cd "$tree" && ctest --output-on-failure --rerun-failed "$@") | tee "$summary" || true
    flaky=$(grep -E '^ *[0-9]+/[0-9]+ +Test +#[0-9]+: .* Passed +[0-9.]+ sec$' "$summary" \
      | sed -E 's/^.*Test +#[0-9]+: ([^ ]+).*/\1/' | paste -sd ' ' || true)
    if [ -n "$flaky" ]; then
      local again
      again=$(wc -w <<<"$flaky")
      ok=$((ok + again))
      fails=$((fails - again))
      [ "$fails" != 0 ] || rc=0
    fi
  fi
  local report="test: $name: $ran ran, $ok passed, $fails failed, $skips skipped"
  [ -z "$flaky" ] || report="$report; passed only on a second run (flaky): $flaky"
  if [ "$ran" = 0 ] && [ "$#" = 0 ]; then
    fails=1
    report="test: $name: FAILED, no test found"
  elif [ "$rc" != 0 ] && [ "$fails" = 0 ]; then
    fails=1
    report="$report; FAILED: ctest ended with $rc"
  fi
  echo "$report"
  reports+=("$report")
  passed=$((passed + ok))
  failed=$((failed + fails))
  skipped=$((skipped + skips))
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

printf '%s\n' "${reports[@]}"
[ "${#not_run[@]}" = 0 ] || printf '%s\n' "${not_run[@]}"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
