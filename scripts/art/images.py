#!/usr/bin/python3
"""Draws the main window's pictures and the skin engine's built-in bitmaps.

    /usr/bin/python3 scripts/art/images.py

Writes resources/images/*.bmp, resources/images/app.ico and the built-in bitmaps
track.bmp, trackvert.bmp and quarnelmenu.bmp.
"""

import math
import random

from PIL import Image, ImageDraw, ImageFilter

from artlib import *  # noqa: F401,F403

S = SS


def P(*v):
    """Unit coordinates to supersampled pixels."""
    return [int(round(x * S)) for x in v]


# ---------------------------------------------------------------- banner and logo

BANNER_W, BANNER_H = 945, 137
LOGO_X, LOGO_Y, LOGO_W, LOGO_H = 8, 4, 253, 117


def banner_background(w, h):
    # Only a vertical ramp: the banner is stretched to the window width, and the
    # logo on top must meet the same colour at every width.
    return vgradient(w, h, BANNER_TOP, BANNER_BOTTOM)


def smoothstep(t):
    t = max(0.0, min(1.0, t))
    return t * t * (3 - 2 * t)


def banner():
    """A dark blue ramp; right of the logo a soft glow rising from below and a few
    thin light ribbons, all kept below the white text at the top right. The left
    270 pixels stay a pure vertical ramp so that the logo meets its background."""
    rnd = random.Random(7)
    img = banner_background(BANNER_W, BANNER_H)
    px = img.load()
    glow = (84, 146, 222)
    for y in range(BANNER_H - 2):
        for x in range(BANNER_W):
            ramp = smoothstep((x - 270) / 220.0)
            if ramp <= 0:
                continue
            g = math.exp(-(((x - 650) / 340.0) ** 2 + ((y - 200) / 120.0) ** 2))
            t = 0.55 * g * ramp
            c = px[x, y]
            # Dither the slow ramp so it shows no bands.
            px[x, y] = tuple(max(0, min(255, int(c[i] + (glow[i] - c[i]) * t + rnd.random()))) for i in range(3))
    k = 4
    layer = Image.new("RGBA", (BANNER_W * k, BANNER_H * k), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    for i, (alpha, base, amp, phase) in enumerate(((70, 112, 26, 0.0), (46, 100, 30, 0.9), (34, 122, 18, 2.0), (24, 88, 34, 2.8))):
        pts = []
        for x in range(250, BANNER_W + 20, 3):
            t = (x - 250) / (BANNER_W - 250)
            y = base - amp * math.sin(t * math.pi * 1.3 + phase) - 26 * t
            pts.append((x * k, y * k))
        d.line(pts, fill=(200, 225, 255, alpha), width=int(1.3 * k), joint="curve")
    layer = layer.resize((BANNER_W, BANNER_H), Image.LANCZOS)
    alpha = layer.getchannel("A")
    a = alpha.load()
    for y in range(BANNER_H):
        for x in range(BANNER_W):
            a[x, y] = int(a[x, y] * smoothstep((x - 270) / 220.0))
    layer.putalpha(alpha)
    img = over(img, layer)
    # A lighter rule at the bottom separates the banner from the face below.
    d2 = ImageDraw.Draw(img)
    d2.line((0, BANNER_H - 2, BANNER_W, BANNER_H - 2), fill=(58, 104, 170))
    d2.line((0, BANNER_H - 1, BANNER_W, BANNER_H - 1), fill=(96, 146, 210))
    return img


def mark(size):
    """The product mark: a blue rounded square with a play sign and a turning arrow."""
    layer, d = canvas(size, size, S)
    u = size / 48.0

    def Q(*v):
        return [int(round(x * u * S)) for x in v]

    grad = vgradient(size * S, size * S, (84, 164, 246), (28, 96, 196)).convert("RGBA")
    mask = Image.new("L", grad.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(Q(1, 1, 47, 47), radius=int(11 * u * S), fill=255)
    layer.paste(grad, (0, 0), mask)
    d.rounded_rectangle(Q(1, 1, 47, 47), radius=int(11 * u * S), outline=(255, 255, 255, 70), width=max(S, int(1.2 * u * S)))
    if size >= 24:
        # Turning arrow around the play sign: conversion.
        d.arc(Q(9, 9, 39, 39), start=200, end=500, fill=(255, 255, 255, 150), width=int(2.6 * u * S))
        ax, ay = 9 + 15 - 15 * math.cos(math.radians(20)), 24 - 15 * math.sin(math.radians(20))
        d.polygon(Q(ax - 4.5, ay + 1, ax + 4.5, ay + 1, ax, ay - 5.5), fill=(255, 255, 255, 150))
    d.polygon(Q(19, 15, 19, 33, 34, 24), fill=(255, 255, 255, 255))
    return down(layer, size, size)


def logo():
    bg = banner_background(BANNER_W, BANNER_H).crop((LOGO_X, LOGO_Y, LOGO_X + LOGO_W, LOGO_Y + LOGO_H))
    layer = Image.new("RGBA", (LOGO_W, LOGO_H), (0, 0, 0, 0))
    m = mark(56)
    shadow = Image.new("RGBA", (LOGO_W, LOGO_H), (0, 0, 0, 0))
    sm = Image.new("RGBA", m.size, (0, 0, 0, 90))
    shadow.paste(sm, (10, 26), m.getchannel("A"))
    shadow = shadow.filter(ImageFilter.GaussianBlur(3))
    layer.alpha_composite(shadow)
    layer.alpha_composite(m, (8, 22))
    t, d = canvas(LOGO_W, LOGO_H, 4)
    f = font(36 * 4)
    d.text((74 * 4, 22 * 4), "Velmo转换", font=f, fill=(255, 255, 255, 255))
    f2 = font(13 * 4)
    d.text((76 * 4, 68 * 4), "视频格式转换 · 一键完成", font=f2, fill=(190, 214, 246, 255))
    layer.alpha_composite(t.resize((LOGO_W, LOGO_H), Image.LANCZOS))
    return over(bg, layer)


# ---------------------------------------------------------------- button glyphs

GLYPH_INK = (60, 86, 124)


def glyph(draw_fn, size=16, bg=FACE):
    layer, d = canvas(size, size, S)
    draw_fn(d)
    out = keyed(down(layer, size, size), bg)
    # The button takes its key from the bottom-left pixel.
    assert out.getpixel((0, size - 1)) == KEY
    return out


def g_import(d):
    # Folder with a plus badge.
    d.polygon(P(1.5, 3.5, 6, 3.5, 7.5, 5, 13.5, 5, 13.5, 12.5, 1.5, 12.5), fill=rgba((236, 190, 96)), outline=rgba((176, 126, 36)))
    d.rectangle(P(1.5, 6.5, 13.5, 12.5), fill=rgba((248, 208, 120)), outline=rgba((176, 126, 36)))
    badge(d, GREEN)


def badge(d, colour):
    # A ring of the face colour keeps the badge apart from the picture under it.
    d.ellipse(P(7.5, 7.5, 16.5, 16.5), fill=rgba(FACE))
    d.ellipse(P(8.5, 8.5, 15.5, 15.5), fill=rgba(colour))


def sign(img, plus):
    """A crisp white plus or minus on the badge, on whole pixels."""
    for x in range(10, 15):
        img.putpixel((x, 12), (255, 255, 255))
    if plus:
        for y in range(10, 15):
            img.putpixel((12, y), (255, 255, 255))
    return img


def document(d):
    d.polygon(P(2.5, 1.5, 9, 1.5, 12.5, 5, 12.5, 14.5, 2.5, 14.5), fill=rgba((255, 255, 255)), outline=rgba(GLYPH_INK))
    d.polygon(P(9, 1.5, 9, 5, 12.5, 5), fill=rgba((200, 214, 234)), outline=rgba(GLYPH_INK))
    for y in (7, 9, 11):
        d.line(P(4.5, y + 0.5, 9.5, y + 0.5), fill=rgba((160, 178, 204)), width=S)


def g_remove(d):
    document(d)
    badge(d, RED)


def g_clear(d):
    # Waste bin.
    d.rectangle(P(2, 3, 14, 4.5), fill=rgba(GLYPH_INK))
    d.rectangle(P(6, 1.5, 10, 3), outline=rgba(GLYPH_INK), width=S)
    d.polygon(P(3.5, 5, 12.5, 5, 11.5, 14.5, 4.5, 14.5), fill=rgba((214, 226, 242)), outline=rgba(GLYPH_INK))
    for x in (6.5, 8.5, 10.5):
        d.line(P(x, 7, x - (x - 8.5) * 0.12, 12.5), fill=rgba(GLYPH_INK), width=S)


def checkbox(d, x, y, s, checked, colour=ACCENT):
    d.rounded_rectangle(P(x, y, x + s, y + s), radius=int(2 * S), fill=rgba((255, 255, 255)), outline=rgba(EDGE_DARK), width=S)
    if checked:
        d.rounded_rectangle(P(x, y, x + s, y + s), radius=int(2 * S), fill=rgba(colour), outline=rgba(ACCENT_DARK), width=S)
        k = s / 10.0
        d.line(P(x + 2.4 * k, y + 5.2 * k, x + 4.3 * k, y + 7.3 * k, x + 7.8 * k, y + 2.9 * k), fill=rgba((255, 255, 255)), width=int(1.6 * S), joint="curve")


def g_checkall(d):
    checkbox(d, 5.5, 1.5, 9, True)
    checkbox(d, 1.5, 5.5, 9, True)


def g_invert(d):
    # One box checked, one empty: the checks swap.
    checkbox(d, 0.5, 0.5, 9, True)
    d.rounded_rectangle(P(5.5, 5.5, 15.5, 15.5), radius=int(2.5 * S), fill=rgba(FACE))
    checkbox(d, 6.5, 6.5, 9, False)


def g_start():
    size = 32
    layer, d = canvas(size, size, S)
    grad = vgradient(size * S, size * S, (70, 182, 110), (34, 138, 76)).convert("RGBA")
    mask = Image.new("L", grad.size, 0)
    ImageDraw.Draw(mask).ellipse(P(1, 1, 31, 31), fill=255)
    layer.paste(grad, (0, 0), mask)
    d.ellipse(P(1, 1, 31, 31), outline=rgba((255, 255, 255), 90), width=int(1.2 * S))
    d.ellipse(P(1, 1, 31, 31), outline=rgba((24, 110, 60)), width=int(0.8 * S))
    d.polygon(P(12.5, 9, 12.5, 23, 23.5, 16), fill=rgba((255, 255, 255)))
    return keyed(down(layer, size, size), FACE)


# ---------------------------------------------------------------- list icons

def list_icons():
    strip = Image.new("RGB", (80, 16), KEY)

    def icon(fn):
        layer, d = canvas(16, 16, S)
        fn(d)
        return keyed(down(layer, 16, 16), WINDOW)

    def waiting(d):
        d.ellipse(P(1, 1, 15, 15), fill=rgba((236, 242, 250)), outline=rgba((128, 146, 172)), width=int(1.2 * S))
        d.line(P(8, 4, 8, 8.4, 11, 10), fill=rgba((92, 108, 128)), width=int(1.4 * S), joint="curve")

    def done(d):
        d.ellipse(P(1, 1, 15, 15), fill=rgba(GREEN))
        d.line(P(4.6, 8.2, 7, 10.6, 11.6, 5.6), fill=rgba((255, 255, 255)), width=int(1.9 * S), joint="curve")

    def working(d):
        d.ellipse(P(1, 1, 15, 15), fill=rgba(ACCENT))
        d.arc(P(4, 4, 12, 12), start=300, end=590, fill=rgba((255, 255, 255)), width=int(1.6 * S))
        d.polygon(P(10.4, 2.6, 13.4, 5.6, 9.6, 6.6), fill=rgba((255, 255, 255)))

    def attention(d):
        d.polygon(P(8, 1, 15.5, 14.5, 0.5, 14.5), fill=rgba(AMBER))
        d.rectangle(P(7.2, 5.2, 8.8, 10.2), fill=rgba((255, 255, 255)))
        d.rectangle(P(7.2, 11.4, 8.8, 13), fill=rgba((255, 255, 255)))

    def failed(d):
        d.ellipse(P(1, 1, 15, 15), fill=rgba(RED))
        d.line(P(5.2, 5.2, 10.8, 10.8), fill=rgba((255, 255, 255)), width=int(1.9 * S))
        d.line(P(10.8, 5.2, 5.2, 10.8), fill=rgba((255, 255, 255)), width=int(1.9 * S))

    for i, fn in enumerate((waiting, done, working, attention, failed)):
        strip.paste(icon(fn), (16 * i, 0))
    return strip


# ---------------------------------------------------------------- built-in bitmaps

def quarnel_menu():
    """System-menu glyphs on white (the mask colour): restore, maximise, minimise, close."""
    strip = Image.new("RGB", (64, 16), (255, 255, 255))
    ink = TEXT

    def cell(fn):
        im = Image.new("RGB", (16, 16), (255, 255, 255))
        fn(ImageDraw.Draw(im))
        return im

    def restore(d):
        d.rectangle((6, 3, 12, 8), outline=ink)
        d.line((6, 4, 12, 4), fill=ink)
        d.rectangle((3, 6, 9, 12), fill=(255, 255, 255), outline=ink)
        d.line((3, 7, 9, 7), fill=ink)

    def maximise(d):
        d.rectangle((3, 3, 12, 12), outline=ink)
        d.line((3, 4, 12, 4), fill=ink)

    def minimise(d):
        d.rectangle((4, 10, 11, 11), fill=ink)

    def close(d):
        for o in (0, 1):
            d.line((4 + o, 4, 11, 11 - o), fill=ink)
            d.line((4, 4 + o, 11 - o, 11), fill=ink)
            d.line((11 - o, 4, 4, 11 - o), fill=ink)
            d.line((11, 4 + o, 4 + o, 11), fill=ink)

    for i, fn in enumerate((restore, maximise, minimise, close)):
        strip.paste(cell(fn), (16 * i, 0))
    return strip


def main():
    save_bmp(banner(), "resources/images/banner.bmp")
    save_bmp(logo(), "resources/images/logo.bmp")
    save_bmp(sign(glyph(g_import), True), "resources/images/glyph-import.bmp")
    save_bmp(sign(glyph(g_remove), False), "resources/images/glyph-remove.bmp")
    for name, fn in (("clear", g_clear), ("checkall", g_checkall), ("invert", g_invert)):
        save_bmp(glyph(fn), "resources/images/glyph-%s.bmp" % name)
    save_bmp(g_start(), "resources/images/glyph-start.bmp")
    save_bmp(list_icons(), "resources/images/listicons.bmp")
    save_ico([mark(16), mark(32), mark(48)], "resources/images/app.ico")
    # The built-in channels are the skin's own, so a skin without Track looks the same.
    from skin import track_image
    save_bmp(track_image(False), "resources/images/track.bmp")
    save_bmp(track_image(True), "resources/images/trackvert.bmp")
    save_bmp(quarnel_menu(), "resources/images/quarnelmenu.bmp")


if __name__ == "__main__":
    main()
