# Environment shared by the build, the tests, run.sh and the benchmarks. Source it; it sets
# variables and defines the velmo_* functions below, nothing else.
#
# Two Windows builds come from one source: the 32-bit program (the product) and a 64-bit one.
# Which of them this machine can run under Wine is found out here, once per shell:
#   VELMO_RUNNABLE  "32 64" where the kernel runs 32-bit code, else "64"
#   VELMO_ARCH      the build the scripts use: as the caller set it (32 or 64, to force one),
#                   else 32 where it runs, else 64
# and velmo_use_arch (called here for VELMO_ARCH) points everything at that build:
#   VELMO_TREE      its CMake tree: $VELMO_BUILD_DIR (32-bit) or $VELMO_BUILD_DIR/x64
#   VELMO_DIST      its program folder: $VELMO_BUILD_DIR/dist or $VELMO_BUILD_DIR/dist64
#   VELMO_ENGINE    its encoding engine in the cache
#   WINEPREFIX      its own prefix: $VELMO_WINEPREFIX (default .wine), with "64" added for 64
#   VELMO_WINE      the Wine loader for it; start programs as "$VELMO_WINE" prog.exe, and
#                   wineboot, winepath and regedit as "$VELMO_WINE" wineboot.exe and so on
#                   (/usr/bin/wine picks the 32-bit loader wherever wine32 is installed, even
#                   where it cannot run, and /usr/bin/wineboot & co ignore WINELOADER)
#   WINESERVER      its server; stop it with "$WINESERVER" -k
VELMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VELMO_ROOT
export VELMO_CACHE="${VELMO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmo}"
# The root of the builds: the 32-bit tree, the 64-bit tree below it (x64/), the native tree
# (native/), and both program folders and zips. A parallel worker may point it elsewhere.
export VELMO_BUILD_DIR="${VELMO_BUILD_DIR:-$VELMO_ROOT/build}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

# True when this machine's kernel runs 32-bit x86 code: a static i386 program that only exits
# 0, assembled once with binutils (there before anything 32-bit is installed). A kernel without
# 32-bit emulation refuses it with "Exec format error".
velmo_runs_32bit() {
  local probe="$VELMO_CACHE/probe/exit0-i386"
  if [ ! -x "$probe" ]; then
    command -v as >/dev/null && command -v ld >/dev/null || return 1
    local tmp
    tmp=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$tmp/p.s"
    if ! { as --32 -o "$tmp/p.o" "$tmp/p.s" && ld -m elf_i386 -o "$tmp/p" "$tmp/p.o"; } 2>/dev/null; then
      rm -rf "$tmp"
      return 1
    fi
    mkdir -p "$(dirname "$probe")"
    mv "$tmp/p" "$probe"
    rm -rf "$tmp"
  fi
  "$probe" 2>/dev/null
}

# The bitness of a Windows executable (32 or 64) from its PE header's machine field; nothing
# for anything else.
velmo_exe_arch() {
  [ -f "$1" ] || return 0
  local pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$pe" ] || return 0
  machine=$(od -An -t x2 -j $((pe + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo 32 ;;
    8664) echo 64 ;;
  esac
}

# Points the variables above at one build (32 or 64).
velmo_use_arch() {
  export VELMO_ARCH="$1"
  local base="${VELMO_WINEPREFIX:-$VELMO_ROOT/.wine}"
  if [ "$VELMO_ARCH" = 64 ]; then
    export VELMO_TREE="$VELMO_BUILD_DIR/x64" VELMO_DIST="$VELMO_BUILD_DIR/dist64"
    export VELMO_ENGINE="$VELMO_CACHE/engine-x64/ffmpeg.exe"
    export WINEPREFIX="${base}64" WINEARCH=win64
    export VELMO_WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  else
    export VELMO_TREE="$VELMO_BUILD_DIR" VELMO_DIST="$VELMO_BUILD_DIR/dist"
    export VELMO_ENGINE="$VELMO_CACHE/engine/ffmpeg.exe"
    export WINEPREFIX="$base" WINEARCH=win32
    export VELMO_WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
    [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver64
  fi
  export WINELOADER="$VELMO_WINE"
}

if [ -z "${VELMO_RUNNABLE:-}" ]; then
  if velmo_runs_32bit; then VELMO_RUNNABLE="32 64"; else VELMO_RUNNABLE="64"; fi
  export VELMO_RUNNABLE
fi
case "${VELMO_ARCH:-}" in
  32 | 64) ;;
  "") VELMO_ARCH="${VELMO_RUNNABLE%% *}" ;;
  *)
    echo "VELMO_ARCH must be 32 or 64, not '$VELMO_ARCH'" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
velmo_use_arch "$VELMO_ARCH"

# Chinese locale: Wine derives the ANSI code page (936) from it. A caller may ask for another
# with VELMO_LOCALE (C.UTF-8 gives 1252). Set only once it exists, so that set-up itself runs
# quietly on a fresh machine.
velmo_locale="${VELMO_LOCALE:-zh_CN.UTF-8}"
if [ "$velmo_locale" = C.UTF-8 ] || locale -a 2>/dev/null | grep -qix "${velmo_locale/UTF-8/utf-\\?8}"; then
  export LANG="$velmo_locale" LC_ALL="$velmo_locale"
fi
unset velmo_locale
