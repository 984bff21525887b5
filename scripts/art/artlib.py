"""Shared palette and drawing helpers for the generated pictures.

Everything is drawn supersampled on RGBA and then flattened: either onto a known
background colour, or onto the magenta key where a pixel is mostly transparent, so
that keyed images get clean edges without pink fringes.
"""

import os
import struct

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
FONT_CJK = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

KEY = (255, 0, 255)

# One palette for the skin, the banner, the logo, the glyphs and the list icons.
FACE = (227, 238, 253)  # control faces
FACE_LIGHT = (244, 248, 254)
FACE_DARK = (203, 217, 236)
WINDOW = (255, 255, 255)
TEXT = (31, 45, 61)
TEXT_SOFT = (92, 108, 128)
DISABLED = (150, 162, 178)
EDGE = (148, 170, 200)  # outlines of controls
EDGE_DARK = (110, 134, 168)
TITLE_TOP = (62, 118, 190)  # active frame, vertical gradient
TITLE_BOTTOM = (44, 92, 160)
TITLE_EDGE = (30, 66, 120)
INACT_TOP = (140, 153, 172)  # inactive frame, desaturated
INACT_BOTTOM = (121, 134, 154)
INACT_EDGE = (92, 104, 122)
ACCENT = (40, 132, 232)  # hot and pressed, selection
ACCENT_LIGHT = (204, 226, 252)
ACCENT_DARK = (26, 98, 186)
HOT_FACE = (214, 232, 255)
PRESSED_FACE = (184, 211, 246)
BANNER_TOP = (30, 64, 116)
BANNER_BOTTOM = (20, 44, 84)
GREEN = (46, 160, 92)
AMBER = (232, 160, 32)
RED = (214, 64, 56)
CLOSE_RED = (222, 72, 64)

SS = 8  # supersampling factor


def mix(a, b, t):
    """Colour a at t = 0, b at t = 1."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def canvas(w, h, scale=SS):
    img = Image.new("RGBA", (w * scale, h * scale), (0, 0, 0, 0))
    return img, ImageDraw.Draw(img)


def down(img, w, h):
    return img.resize((w, h), Image.LANCZOS if img.width // w <= 2 else Image.BOX)


def over(base_rgb, layer_rgba):
    """Composite a layer over an opaque RGB image of the same size."""
    out = base_rgb.convert("RGBA")
    out.alpha_composite(layer_rgba)
    return out.convert("RGB")


def keyed(layer_rgba, blend_bg, threshold=96):
    """Flatten onto the magenta key: faint pixels become key, the rest are
    composited over the colour the image will most likely be drawn on."""
    w, h = layer_rgba.size
    bg = Image.new("RGB", (w, h), blend_bg)
    flat = over(bg, layer_rgba)
    alpha = layer_rgba.getchannel("A")
    mask = alpha.point(lambda a: 255 if a >= threshold else 0)
    out = Image.new("RGB", (w, h), KEY)
    out.paste(flat, (0, 0), mask)
    return out


def vgradient(w, h, top, bottom):
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        c = mix(top, bottom, y / max(1, h - 1))
        for x in range(w):
            px[x, y] = c
    return img


def hgradient(w, h, left, right):
    return vgradient(h, w, left, right).transpose(Image.TRANSPOSE)


def font(size, path=FONT_CJK):
    return ImageFont.truetype(path, size)


def save_bmp(img, rel):
    """24-bit BMP; the committed files are the product, so keep them plain."""
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.convert("RGB").save(path, format="BMP")
    return path


def save_ico(images, rel):
    """Icon with one 32-bit DIB entry per size (AND mask from alpha), which every
    resource compiler and every Windows version reads."""
    path = os.path.join(ROOT, rel)
    entries = []
    for im in images:
        im = im.convert("RGBA")
        w, h = im.size
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = im.getpixel((x, y))
                xor += bytes((b, g, r, a))
        row = ((w + 31) // 32) * 4
        andm = bytearray()
        for y in range(h - 1, -1, -1):
            bits = bytearray(row)
            for x in range(w):
                if im.getpixel((x, y))[3] < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andm += bits
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
        entries.append((w, h, header + bytes(xor) + bytes(andm)))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, data in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)
    return path
