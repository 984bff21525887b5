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
# Wine's messages stay off but for its exception errors: the 64-bit loader drops an exception
# that leaves a window procedure and says only "err:seh:...ignoring exception" (scripts/wine-run
# fails a program that it reports).
export WINEDEBUG=-all,err+seh
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

# The 32-bit probe: a static i386 Linux program of 93 bytes that only exits 0, written byte by
# byte (no binutils needed: set-up may not have installed them yet). A kernel without 32-bit
# emulation refuses it with "Exec format error"; any other failure is reported, not read as
# "no 32-bit".
velmo_write_probe() {
  local header='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  header+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  header+='\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  # One loadable segment: the whole file at 0x08048000, readable and executable.
  local segment='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  segment+='\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  # movl $1, %eax; xorl %ebx, %ebx; int $0x80: exit(0)
  local code='\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'
  printf "$header$segment$code" >"$1" && chmod +x "$1"
}

# Prints "32 64" where the kernel runs 32-bit x86 code, "64" where it refuses it; returns 1
# with a message when the probe could not tell.
velmo_probe_runnable() {
  local dir probe output rc=0
  dir=$(mktemp -d "${TMPDIR:-/tmp}/velmo-probe.XXXXXX") || return 1
  probe="$dir/exit0-i386"
  if ! velmo_write_probe "$probe"; then
    rm -rf "$dir"
    echo "env.sh: cannot write the 32-bit probe in $dir" >&2
    return 1
  fi
  # In the C locale: the shell words its refusal in the language of its locale.
  output=$(export LC_ALL=C; "$probe" 2>&1) || rc=$?
  rm -rf "$dir"
  if [ "$rc" = 0 ]; then
    echo "32 64"
  elif [[ "$output" == *"Exec format error"* ]]; then
    echo "64"
  else
    echo "env.sh: the 32-bit probe failed for another reason than \"Exec format error\" (exit $rc): $output" >&2
    echo "env.sh: set VELMO_RUNNABLE (\"32 64\" or 64) to go on without it" >&2
    return 1
  fi
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

# Probed once: the scripts that call one another (test.sh, run.sh, setup.sh, wine-run) inherit
# the answer. VELMO_RUNNABLE=64 simulates a machine that refuses 32-bit code.
if [ -z "${VELMO_RUNNABLE:-}" ]; then
  VELMO_RUNNABLE=$(velmo_probe_runnable) || return 1 2>/dev/null || exit 1
  export VELMO_RUNNABLE
fi
case "$VELMO_RUNNABLE" in
  "32 64" | 64) ;;
  *)
    echo "VELMO_RUNNABLE must be \"32 64\" or 64, not '$VELMO_RUNNABLE'" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
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
# with VELMO_LOCALE (C.UTF-8 gives 1252, ru_RU.UTF-8 1251); one that is not installed stops
# here, since Wine would quietly run under the code page of whatever locale is left. The
# default is set only once it exists, so that set-up itself runs quietly on a fresh machine.
# A shell that started before set-up generated the locale cannot load it itself (its C library
# looked at the locale archive once, at its start, and keeps that view): bash warns, but the
# exported variables still reach every program started afterwards, Wine included. test.sh,
# run.sh and setup.sh start afresh after generating it, so that the warning never shows.
velmo_locale="${VELMO_LOCALE:-zh_CN.UTF-8}"
if [ "$velmo_locale" = C.UTF-8 ] || locale -a 2>/dev/null | grep -qix "${velmo_locale/UTF-8/utf-\\?8}"; then
  export LANG="$velmo_locale" LC_ALL="$velmo_locale"
  VELMO_LOCALE_SET=1
elif [ -n "${VELMO_LOCALE:-}" ] && [ -z "${VELMO_SETTING_UP:-}" ]; then
  echo "env.sh: VELMO_LOCALE=$VELMO_LOCALE names a locale that is not installed (locale -a lists the installed ones; scripts/setup.sh makes zh_CN.UTF-8 and ru_RU.UTF-8)" >&2
  unset velmo_locale
  return 1 2>/dev/null || exit 1
else
  VELMO_LOCALE_SET=
fi
unset velmo_locale
