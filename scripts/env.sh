# Environment shared by the build, the tests and run.sh. Source it; it sets nothing else.
VELMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VELMO_ROOT
export VELMO_CACHE="${VELMO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmo}"
export VELMO_BUILD_DIR="${VELMO_BUILD_DIR:-$VELMO_ROOT/build}"
# One prefix per checkout; a parallel worker may point VELMO_WINEPREFIX at its own.
export WINEPREFIX="${VELMO_WINEPREFIX:-$VELMO_ROOT/.wine}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export VELMO_ENGINE="$VELMO_CACHE/engine/ffmpeg.exe"
# Chinese locale: Wine derives the ANSI code page (936) from it. Set only once it exists,
# so that set-up itself runs quietly on a fresh machine.
if locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
fi
