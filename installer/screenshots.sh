#!/usr/bin/env bash
# Takes the pictures of the setup's and the uninstaller's pages into docs/installer-*.png: the
# build scripts/env.sh chose (VELMO_ARCH=32 or 64 picks one) installs into its own Wine prefix
# and is removed again. tests/installer/installer_pages.exe walks the pages and says where each
# one is; the picture is cut from the display's.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
source scripts/env.sh
source scripts/xvfb.sh
source scripts/screenshot.sh
[ -f "$VELMO_TREE/CMakeCache.txt" ] || ./scripts/build.sh cross "$VELMO_ARCH" >/dev/null
cmake --build "$VELMO_TREE" --target velmo_setup installer_pages >/dev/null
setup=$(ls "$VELMO_BUILD_DIR"/VelmoConvert-*-setup.exe | grep -v -- -x64-setup)
[ "$VELMO_ARCH" = 64 ] && setup=$(ls "$VELMO_BUILD_DIR"/VelmoConvert-*-x64-setup.exe)
echo "screenshots: $(basename "$setup")"
velmo_xvfb_start
trap '"$WINESERVER" -k >/dev/null 2>&1 || true; velmo_xvfb_stop' EXIT
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$VELMO_WINE" wineboot.exe </dev/null >/dev/null 2>&1
("$VELMO_WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &)
sleep 2
winsetup=$("$VELMO_WINE" winepath.exe -w "$setup" 2>/dev/null | tr -d '\r')
shot=$(mktemp --suffix .png)
coproc PAGES { "$VELMO_WINE" "$VELMO_TREE/tests/installer/installer_pages.exe" "$winsetup" 2>/dev/null; }
while read -r name left top right bottom <&"${PAGES[0]}"; do
  bottom=${bottom%$'\r'}
  velmo_screenshot "$shot"
  convert "$shot" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "docs/installer-$name.png"
  echo "docs/installer-$name.png"
  echo >&"${PAGES[1]}"
done
rm -f "$shot"
