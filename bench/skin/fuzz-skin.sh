#!/usr/bin/env bash
# The long fuzzing run of the skin reader (stored-stream decoding, package index, INI parser,
# BMP decoding) with AddressSanitizer and UndefinedBehaviorSanitizer. Seeds: small stored
# streams, a small package, our INI text and one of our bitmaps, each behind the byte that
# picks its stage.   bench/skin/fuzz-skin.sh [runs, default 1000000]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/env.sh"
"$root/scripts/build.sh" native >/dev/null
native="$VELMO_BUILD_DIR/native"
work="$native/fuzz-skin"
rm -rf "$work" && mkdir -p "$work/corpus" "$work/small"
cp "$root/resources/skin/skin.ini" "$work/small/"
cp "$root/resources/skin/radiobutton.bmp" "$work/small/"
"$native/tools/skin_packer" "$work/small" "$work/small.stream" >/dev/null
python3 - "$work" "$root/resources/skin" <<'PY'
import pathlib, struct, sys
work, skin = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
stored = (work / "small.stream").read_bytes()[4:]
(work / "corpus/stored").write_bytes(b"\x00" + stored)
ini = (skin / "skin.ini").read_bytes()
bmp = (skin / "radiobutton.bmp").read_bytes()
names = b"skin.ini\r\nRadio.bmp\r\n"
for code, extra in ((20000, 0), (30000, 256), (40000, 80), (50000, 48)):
    package = struct.pack("<IIII", code, len(names), 0, 0) + bytes(extra) + names
    package += struct.pack("<ii", 40, len(bmp)) + ini[:40] + bmp
    (work / f"corpus/package{code}").write_bytes(b"\x01" + package)
(work / "corpus/ini").write_bytes(b"\x02" + ini)
(work / "corpus/bmp").write_bytes(b"\x03" + bmp)
PY
cd "$work"
"$native/tests/skin/skin_fuzz" -runs="${1:-1000000}" -max_len=8192 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus 2>&1 | tail -25
