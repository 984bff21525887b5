#!/usr/bin/env bash
# run-at-dpi.sh DPI PROGRAM [ARGUMENTS...]: runs a Windows program as scripts/wine-run does,
# in a Wine prefix of its own whose screen is set to DPI (HKCU\Control Panel\Desktop\LogPixels,
# as the display settings' 125 % and 150 % give). The prefix lies beside the program
# (wine-dpi<DPI>-<bits>): its registry is a copy of the build's prefix, its drive C that
# prefix's own (linked). Its server is stopped when the program ends, so that the next run,
# and the build's own prefix, are untouched.
set -euo pipefail
dpi=$1
shift
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
source "$root/scripts/env.sh" 2>/dev/null
arch=$(velmo_exe_arch "$1")
velmo_use_arch "${arch:-64}"
base="$WINEPREFIX"
[ -f "$base/system.reg" ] || { echo "run-at-dpi: no prefix at $base (run scripts/setup.sh)" >&2; exit 1; }
export VELMO_WINEPREFIX
VELMO_WINEPREFIX="$(cd "$(dirname "$1")" && pwd)/wine-dpi$dpi-"
velmo_use_arch "${arch:-64}"
prefix="$WINEPREFIX"
if [ ! -f "$prefix/.velmo-dpi" ] || [ "$base/system.reg" -nt "$prefix/.velmo-dpi" ]; then
  rm -rf "$prefix"
  mkdir -p "$prefix/dosdevices"
  cp -p "$base"/*.reg "$prefix/"
  [ -f "$base/.update-timestamp" ] && cp -p "$base/.update-timestamp" "$prefix/"
  ln -s "$base/drive_c" "$prefix/drive_c"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s / "$prefix/dosdevices/z:"
  touch "$prefix/.velmo-dpi"
fi
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$VELMO_WINE" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
  </dev/null >/dev/null 2>&1
export VELMO_DPI="$dpi"
"$root/scripts/wine-run" "$@"
