#!/usr/bin/env bash
# Installs and prepares everything the build, the tests and the program need.
# Idempotent: on a ready machine it only checks and returns within seconds.
set -euo pipefail
# A caller's VELMO_LOCALE may name a locale that set-up is about to make.
VELMO_SETTING_UP=1 source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

say() { printf 'setup: %s\n' "$*" >&2; }
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Both builds are always compiled; Wine runs the 64-bit one everywhere and the 32-bit one only
# where the kernel runs 32-bit code (wine32 is of no use elsewhere).
PACKAGES=(
  cmake make ninja-build g++ binutils clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils x11-apps imagemagick
  googletest fonts-wqy-microhei fonts-wine locales ffmpeg python3-pil
  nsis
)
if [ "$VELMO_RUNNABLE" = "32 64" ]; then
  PACKAGES+=(wine32:i386)
fi

missing_packages() {
  local p status
  for p in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || echo "$p"
  done
}

install_packages() {
  if [ "$VELMO_RUNNABLE" = "32 64" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "adding the i386 architecture"
    as_root dpkg --add-architecture i386
  fi
  local need
  need=$(missing_packages)
  [ -z "$need" ] && return 0
  say "installing: $(echo $need)"
  as_root env LC_ALL=C apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root env LC_ALL=C apt-get install -y -qq --no-install-recommends $need >/dev/null
}

# zh_CN gives Wine the ANSI code page 936; ru_RU (1251) serves the tests under another one.
# Returns 1 when it generated one.
install_locale() {
  local name made=0
  for name in zh_CN ru_RU; do
    if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8$"; then
      say "generating the $name.UTF-8 locale"
      as_root localedef -i "$name" -f UTF-8 "$name.UTF-8" || {
        say "cannot generate the $name.UTF-8 locale"
        exit 1
      }
      made=1
    fi
  done
  return "$made"
}

# fetch_engine <npm package> <path>: the engine of one bitness, into the cache.
fetch_engine() {
  local package=$1 engine=$2
  [ -f "$engine" ] && return 0
  say "fetching the encoding engine $package"
  local tmp
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack --silent "$package" >/dev/null)
  tar -xzf "$tmp"/*.tgz -C "$tmp"
  mkdir -p "$(dirname "$engine")"
  cp "$tmp/package/ffmpeg.exe" "$engine.part"
  mv "$engine.part" "$engine"
  rm -rf "$tmp"
}

fetch_engines() {
  velmo_use_arch 32
  fetch_engine @ffmpeg-installer/win32-ia32 "$VELMO_ENGINE"
  velmo_use_arch 64
  fetch_engine @ffmpeg-installer/win32-x64 "$VELMO_ENGINE"
}

# prepare_prefix <32|64>: the prefix of one build, with the same settings for both.
prepare_prefix() {
  velmo_use_arch "$1"
  local stamp="$WINEPREFIX/.velmo-ready"
  if [ ! -f "$stamp" ]; then
    say "initialising the $1-bit Wine prefix at $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$VELMO_WINE" wineboot.exe -i </dev/null >/dev/null 2>&1 || true
    "$WINESERVER" -w
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  # The settings go in again whenever they changed, also into a prefix made before.
  local settings
  settings=$(sha1sum "$VELMO_ROOT/scripts/wine-settings.reg" | cut -d' ' -f1)
  [ "$(cat "$stamp" 2>/dev/null)" = "$settings" ] && return 0
  # regedit reads a version-5 file as UTF-16, which keeps the Chinese font names intact.
  local reg="$WINEPREFIX/velmo-settings.reg"
  { printf 'Windows Registry Editor Version 5.00\r\n'; tail -n +2 "$VELMO_ROOT/scripts/wine-settings.reg" | sed 's/$/\r/'; } \
    | iconv -f UTF-8 -t UTF-16 >"$reg"
  "$VELMO_WINE" regedit.exe /S "$reg" </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  echo "$settings" >"$stamp"
}

if [ "$VELMO_ARCH" = 32 ] && [ "$VELMO_RUNNABLE" = 64 ]; then
  say "VELMO_ARCH=32, but this machine cannot run 32-bit code (its kernel refuses i386 programs)"
  exit 1
fi
install_packages
if ! install_locale && [ -z "${VELMO_SETUP_RESTARTED:-}" ]; then
  # Afresh, in a shell that can load the new locale (see env.sh); the probe's answer is kept.
  exec env VELMO_SETUP_RESTARTED=1 "$0"
fi
fetch_engines
for arch in $VELMO_RUNNABLE; do
  prepare_prefix "$arch"
done
