#!/usr/bin/env bash
# The long fuzzing run of the skin reader (stored-stream decoding against the plain decoder,
# package index, INI parser, BMP decoding, the load's pixel budget) with AddressSanitizer and
# UndefinedBehaviorSanitizer. Seeds: a small stored stream, small packages of every format,
# our INI text, one of our bitmaps, and inputs at the load limits (a name list past the entry
# limit, a BMP that declares 16384 x 2048 pixels, an INI of 1001 sections), each behind the
# byte that picks its stage.   bench/skin/fuzz-skin.sh [runs, default 5000000]
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
corpus = work / "corpus"
stored = (work / "small.stream").read_bytes()[4:]
(corpus / "stored").write_bytes(b"\x00" + stored)
(corpus / "lzhuf").write_bytes(b"\x04" + stored)
ini = (skin / "skin.ini").read_bytes()
bmp = (skin / "radiobutton.bmp").read_bytes()
names = b"skin.ini\r\nRadio.bmp\r\n"
for code, extra in ((20000, 0), (30000, 256), (40000, 80), (50000, 48)):
    package = struct.pack("<IIII", code, len(names), 0, 0) + bytes(extra) + names
    package += struct.pack("<ii", 40, len(bmp)) + ini[:40] + bmp
    (corpus / f"package{code}").write_bytes(b"\x01" + package)
breaks = b"\n" * 1002
(corpus / "names").write_bytes(b"\x01" + struct.pack("<IIII", 20000, len(breaks), 0, 0) + breaks)
(corpus / "ini").write_bytes(b"\x02" + ini)
(corpus / "sections").write_bytes(b"\x02" + b"".join(b"[B%d]\r\nA=1\r\n" % i for i in range(1001)))
(corpus / "bmp").write_bytes(b"\x03" + bmp)
huge = bytearray(bmp[:54 + 8])
struct.pack_into("<iiHH", huge, 18, 16384, 2048, 1, 1)
struct.pack_into("<I", huge, 10, 62)
(corpus / "huge").write_bytes(b"\x03" + bytes(huge) + bytes(2048))
PY
cd "$work"
"$native/tests/skin/skin_fuzz" -runs="${1:-5000000}" -max_len=16384 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus 2>&1 | tail -25
