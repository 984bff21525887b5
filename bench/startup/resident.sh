#!/usr/bin/env bash
# Where the resident memory of the idle main window goes, against the minimal window: the
# resident set of the Linux process of each program, summed by what is mapped (each DLL and
# shared object, the heaps and other anonymous memory), largest first. Run after a build:
#   bench/startup/resident.sh [rows]   (default 25)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/env.sh"
source "$root/scripts/xvfb.sh"
rows="${1:-25}"
velmo_xvfb_start
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$VELMO_WINE" wineboot.exe </dev/null >/dev/null 2>&1
("$VELMO_WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &)
sleep 2

# Rss in kB per mapping, summed by path ("[anon]" for memory without one).
by_mapping() {
  awk '/^[0-9a-f]+-[0-9a-f]+ /{name = ($6 == "" ? "[anon]" : $6); next}
       /^Rss:/{sum[name] += $2} END {for (n in sum) printf "%8d %s\n", sum[n], n}' \
    "/proc/$1/smaps" | sort -rn
}

measure() {
  local exe="$1" name="$2"
  shift 2
  (cd "$(dirname "$exe")" && "$VELMO_WINE" "$exe" "$@" </dev/null >/dev/null 2>&1 &)
  sleep 6
  # The program's process in this prefix (others may run the same program in theirs).
  local pid="" p
  for p in $(pgrep -f "$name" || true); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && pid=$p
  done
  if [ -z "$pid" ]; then
    echo "$name did not start" >&2
    return
  fi
  echo "== $name (Linux process $pid): $(grep -E '^VmRSS|^VmHWM' "/proc/$pid/status" | tr -s ' \n' ' ')"
  by_mapping "$pid" | head -n "$rows"
  kill "$pid"
  sleep 1
}

measure "$VELMO_TREE/bench/startup/minimal_window.exe" minimal_window.exe 0 0 945 643 minimal
measure "$VELMO_DIST/VelmoConvert.exe" VelmoConvert.exe
