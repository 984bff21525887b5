#!/usr/bin/env bash
# Installs and prepares everything the build, the tests and the program need.
# Idempotent: on a ready machine it only checks and returns within seconds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

say() { printf 'setup: %s\n' "$*" >&2; }
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

PACKAGES=(
  cmake make ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth x11-utils x11-apps imagemagick
  googletest fonts-wqy-microhei fonts-wine locales ffmpeg python3-pil
)

missing_packages() {
  local p status
  for p in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || echo "$p"
  done
}

install_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
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

install_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    say "generating the zh_CN.UTF-8 locale"
    as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  fi
}

fetch_engine() {
  [ -f "$VELMO_ENGINE" ] && return 0
  say "fetching the encoding engine"
  local tmp
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack --silent @ffmpeg-installer/win32-ia32 >/dev/null)
  tar -xzf "$tmp"/*.tgz -C "$tmp"
  mkdir -p "$(dirname "$VELMO_ENGINE")"
  cp "$tmp/package/ffmpeg.exe" "$VELMO_ENGINE.part"
  mv "$VELMO_ENGINE.part" "$VELMO_ENGINE"
  rm -rf "$tmp"
}

prepare_prefix() {
  local stamp="$WINEPREFIX/.velmo-ready"
  if [ ! -f "$stamp" ]; then
    say "initialising the Wine prefix at $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
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
  wine regedit /S "$reg" </dev/null >/dev/null 2>&1
  wineserver -w
  echo "$settings" >"$stamp"
}

install_packages
install_locale
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"  # again, now that the locale exists
fetch_engine
prepare_prefix
