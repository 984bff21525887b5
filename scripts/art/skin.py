#!/usr/bin/python3
"""Draws our skin: resources/skin/skin.ini and its 24-bit BMP files.

    /usr/bin/python3 scripts/art/skin.py

The frame sizes and frame counts here and in the INI text come from one table
(SKIN below), so the INI never disagrees with its pictures.
"""

import os

from PIL import Image, ImageDraw

from artlib import *  # noqa: F401,F403

S = SS
OUT = "resources/skin"
WHITE = (255, 255, 255)


def P(*v):
    return [int(round(x * S)) for x in v]


def strip(frames, vertical=False):
    w, h = frames[0].size
    out = Image.new("RGB", (w, h * len(frames)) if vertical else (w * len(frames), h), KEY)
    for i, f in enumerate(frames):
        out.paste(f, (0, h * i) if vertical else (w * i, 0))
    return out


def coverage(w, h, shape):
    """Anti-aliased coverage (L image, 0..255) of a shape drawn by shape(draw)."""
    m = Image.new("L", (w * S, h * S), 0)
    shape(ImageDraw.Draw(m))
    return m.resize((w, h), Image.BOX)


def keyed_over(layer, bg, threshold=110):
    """Composite a supersampled-then-reduced RGBA layer over an opaque background
    image; pixels the layer hardly covers become the key."""
    flat = over(bg, layer)
    mask = layer.getchannel("A").point(lambda a: 255 if a >= threshold else 0)
    out = Image.new("RGB", layer.size, KEY)
    out.paste(flat, (0, 0), mask)
    return out


def layer_of(w, h, fn):
    lay, d = canvas(w, h, S)
    fn(d)
    return down(lay, w, h)


def key_frame(w, h, fn, blend=FACE, threshold=110):
    return keyed(layer_of(w, h, fn), blend, threshold)


# ================================================================ window frame

TITLE_H = 30
BORDER = 5
RADIUS_TOP = 6
RADIUS_BOTTOM = 3
FRAME_W = 40  # middle sample of the title and bottom images
FRAME_H = 80


def frame_scheme(active):
    if active:
        return dict(top=TITLE_TOP, bottom=TITLE_BOTTOM, edge=TITLE_EDGE, body=TITLE_BOTTOM,
                    shine=mix(TITLE_TOP, WHITE, 0.28), inner=mix(TITLE_BOTTOM, TITLE_EDGE, 0.55))
    return dict(top=INACT_TOP, bottom=INACT_BOTTOM, edge=INACT_EDGE, body=INACT_BOTTOM,
                shine=mix(INACT_TOP, WHITE, 0.28), inner=mix(INACT_BOTTOM, INACT_EDGE, 0.55))


def title_row(c, y):
    if y == 1:
        return c["shine"]
    return mix(c["top"], c["bottom"], (y - 1) / (TITLE_H - 2))


def whole_frame(active):
    """A small window frame painted in one piece, then cut into the four edges so
    that every joint matches."""
    c = frame_scheme(active)
    W, H = BORDER * 2 + FRAME_W, FRAME_H
    img = Image.new("RGB", (W, H), FACE)
    px = img.load()
    for y in range(H):
        for x in range(W):
            if y < TITLE_H:
                px[x, y] = title_row(c, y)
            elif x < BORDER or x >= W - BORDER or y >= H - BORDER:
                px[x, y] = c["body"]
    d = ImageDraw.Draw(img)
    # Inner line where the border meets the client area.
    d.line((BORDER - 1, TITLE_H, BORDER - 1, H - BORDER), fill=c["inner"])
    d.line((W - BORDER, TITLE_H, W - BORDER, H - BORDER), fill=c["inner"])
    d.line((BORDER - 1, H - BORDER, W - BORDER, H - BORDER), fill=c["inner"])
    # Last title row: a soft seam to the menu strip or client.
    d.line((BORDER - 1, TITLE_H - 1, W - BORDER, TITLE_H - 1), fill=mix(c["bottom"], c["edge"], 0.35))

    # Outer and inner outlines as coverage masks.
    outer = coverage(W, H, lambda dr: _round2(dr, W, H, 0))
    inner = coverage(W, H, lambda dr: _round2(dr, W, H, 1))
    out = Image.new("RGB", (W, H), KEY)
    op, ip, src, dst = outer.load(), inner.load(), img.load(), out.load()
    for y in range(H):
        for x in range(W):
            o, i = op[x, y], ip[x, y]
            if o < 128:
                continue
            # Between the outlines lies the dark edge; anti-aliased toward the inside.
            dst[x, y] = mix(c["edge"], src[x, y], i / 255.0)
    return out


def _round2(dr, W, H, inset):
    rt, rb = RADIUS_TOP - inset, RADIUS_BOTTOM - inset
    dr.rounded_rectangle(P(inset, inset, W - inset, H / 2 + RADIUS_TOP + 2), radius=rt * S, fill=255)
    dr.rounded_rectangle(P(inset, H / 2 - RADIUS_BOTTOM - 2, W - inset, H - inset), radius=max(1, rb * S), fill=255)


def frame_edges():
    act, ina = whole_frame(True), whole_frame(False)
    W, H = act.size
    left = strip([f.crop((0, 0, BORDER, H)) for f in (act, ina)])
    right = strip([f.crop((W - BORDER, 0, W, H)) for f in (act, ina)])
    top = strip([f.crop((BORDER, 0, W - BORDER, TITLE_H)) for f in (act, ina)], vertical=True)
    bottom = strip([f.crop((BORDER, H - BORDER, W - BORDER, H)) for f in (act, ina)], vertical=True)
    return left, right, top, bottom


def text_back():
    """Behind the caption: the title ramp, lifted a little in the middle and fading
    out over the fixed ends."""
    frames = []
    for active in (True, False):
        c = frame_scheme(active)
        w, h = 48, TITLE_H
        im = Image.new("RGB", (w, h))
        px = im.load()
        # Copy the title ramp including its outline rows so that it blends in.
        ref = whole_frame(active)
        for y in range(h):
            base = ref.getpixel((BORDER + 10, y))
            for x in range(w):
                t = min(x, w - 1 - x) / 10.0
                t = max(0.0, min(1.0, t))
                lift = 0.05 * t * t * (3 - 2 * t) if 2 <= y <= h - 3 else 0
                px[x, y] = mix(base, WHITE, lift)
        frames.append(im)
    return strip(frames, vertical=True)


# ================================================================ caption buttons

CAP_W, CAP_H = 30, 22
CAP_Y = (TITLE_H - CAP_H) // 2


def caption_button(kind):
    """Four frames: normal, pressed, hot, inactive or disabled. The glyph is drawn
    on whole pixels so it stays crisp; hot and pressed get a rounded plate
    blended over the title ramp it sits on."""
    frames = []
    act_bg = whole_frame(True).crop((BORDER + 10, CAP_Y, BORDER + 10 + CAP_W, CAP_Y + CAP_H))
    act_bg = act_bg.crop((0, 0, 1, CAP_H)).resize((CAP_W, CAP_H))
    for state in ("normal", "pressed", "hot", "inactive"):
        if state in ("hot", "pressed"):
            if kind == "close":
                plate = CLOSE_RED if state == "hot" else mix(CLOSE_RED, (0, 0, 0), 0.22)
                alpha = 255
            elif state == "hot":
                plate, alpha = WHITE, 52
            else:
                plate, alpha = (8, 24, 60), 64
            lay = layer_of(CAP_W, CAP_H, lambda d: d.rounded_rectangle(P(1, 1, CAP_W - 1, CAP_H - 1), radius=4 * S, fill=rgba(plate, alpha)))
            fr = keyed_over(lay, act_bg, threshold=1 if alpha < 110 else 110)
        else:
            fr = Image.new("RGB", (CAP_W, CAP_H), KEY)
        ink = WHITE if state != "inactive" else (222, 228, 236)
        plate = fr.copy()
        d = ImageDraw.Draw(fr)
        cx, cy = CAP_W // 2, CAP_H // 2
        if kind == "close":
            for o in range(-4, 5):
                for t in (0, 1):
                    d.point((cx - 1 + o + t, cy + o), fill=ink)
                    d.point((cx - 1 + o + t, cy - o), fill=ink)
        elif kind == "max":
            d.rectangle((cx - 5, cy - 5, cx + 4, cy + 4), outline=ink)
            d.line((cx - 5, cy - 4, cx + 4, cy - 4), fill=ink)
        elif kind == "restore":
            d.rectangle((cx - 3, cy - 6, cx + 5, cy + 2), outline=ink)
            d.line((cx - 3, cy - 5, cx + 5, cy - 5), fill=ink)
            # The front window hides the back one: give it the frame's own background.
            fr.paste(plate.crop((cx - 6, cy - 3, cx + 3, cy + 6)), (cx - 6, cy - 3))
            d.rectangle((cx - 6, cy - 3, cx + 2, cy + 5), outline=ink)
            d.line((cx - 6, cy - 2, cx + 2, cy - 2), fill=ink)
        elif kind == "min":
            d.rectangle((cx - 5, cy + 3, cx + 4, cy + 4), fill=ink)
        frames.append(fr)
    return strip(frames)


def mdi_controls():
    """Three child-window buttons for the menu strip (minimise, restore, close),
    four frames each: normal, pressed, hot, hot (frame 4 is used when hot)."""
    a, h = 16, 14
    frames = []
    for kind in ("min", "restore", "close"):
        for state in ("normal", "pressed", "hot", "hot"):
            def fn(d, state=state):
                if state != "normal":
                    fill = HOT_FACE if state == "hot" else PRESSED_FACE
                    d.rounded_rectangle(P(0.5, 0.5, a - 0.5, h - 0.5), radius=3 * S, fill=rgba(fill), outline=rgba(EDGE), width=S)
            fr = key_frame(a, h, fn, FACE)
            d = ImageDraw.Draw(fr)
            cx, cy = a // 2, h // 2
            ink = TEXT
            if kind == "min":
                d.rectangle((cx - 4, cy + 2, cx + 3, cy + 3), fill=ink)
            elif kind == "restore":
                d.rectangle((cx - 2, cy - 4, cx + 4, cy + 1), outline=ink)
                d.rectangle((cx - 4, cy - 2, cx + 2, cy + 3), fill=fr.getpixel((cx, cy)) if state != "normal" else KEY, outline=ink)
                d.line((cx - 4, cy - 1, cx + 2, cy - 1), fill=ink)
                d.line((cx - 2, cy - 3, cx + 4, cy - 3), fill=ink)
            else:
                for o in range(-3, 4):
                    d.point((cx + o, cy + o), fill=ink)
                    d.point((cx + o - 1, cy + o), fill=ink)
                    d.point((cx + o, cy - o), fill=ink)
                    d.point((cx + o - 1, cy - o), fill=ink)
            frames.append(fr)
    return strip(frames)


# ================================================================ menus

def menu_bar():
    """A band a shade deeper than the faces, so that the white outline of a hot or pressed
    item (ButtonHilight) stands out on it."""
    w, h = 20, 20
    frames = []
    for active in (True, False):
        top, bot = (FACE, (210, 224, 245)) if active else (mix(FACE, (232, 234, 238), 0.7), mix((210, 224, 245), (218, 221, 227), 0.7))
        im = vgradient(w, h, top, bot)
        ImageDraw.Draw(im).line((0, h - 1, w, h - 1), fill=FACE_DARK)
        frames.append(im)
    return strip(frames, vertical=True)


def menu_item():
    """Five frames: 1 normal (clear), 2 separator source (line near the bottom),
    3 normal disabled, 4 selected, 5 selected disabled."""
    w, h = 24, 22
    frames = []
    frames.append(Image.new("RGB", (w, h), KEY))
    sep = Image.new("RGB", (w, h), KEY)
    d = ImageDraw.Draw(sep)
    d.line((4, h - 5, w - 5, h - 5), fill=(214, 224, 238))
    d.line((4, h - 4, w - 5, h - 4), fill=WHITE)
    frames.append(sep)
    frames.append(Image.new("RGB", (w, h), KEY))
    for fill, edge in ((mix(ACCENT, WHITE, 0.08), ACCENT_DARK), ((196, 206, 220), (170, 182, 200))):
        frames.append(key_frame(w, h, lambda dr, f=fill, e=edge: dr.rounded_rectangle(P(1, 0.5, w - 1, h - 0.5), radius=3 * S, fill=rgba(f), outline=rgba(e), width=S), WHITE))
    return strip(frames)


def menu_background():
    w, h = 16, 16
    im = Image.new("RGB", (w, h), WHITE)
    d = ImageDraw.Draw(im)
    d.rectangle((0, 0, w - 1, h - 1), outline=EDGE_DARK)
    d.rectangle((1, 1, w - 2, h - 2), outline=(250, 252, 255))
    return im


# ================================================================ buttons, check, radio

BTN_W, BTN_H = 24, 24


def push_face(state, w=BTN_W, h=BTN_H, radius=3.5):
    """normal, pressed, disabled, hot, focused."""
    top, bottom, edge = {
        "normal": (FACE_LIGHT, (214, 228, 248), EDGE),
        "pressed": (PRESSED_FACE, (198, 220, 250), ACCENT_DARK),
        "disabled": ((238, 241, 246), (230, 234, 240), (190, 200, 214)),
        "hot": ((236, 245, 255), HOT_FACE, ACCENT),
        "focused": (FACE_LIGHT, (214, 228, 248), ACCENT),
    }[state]
    grad = vgradient(w * S, h * S, top, bottom).convert("RGBA")
    lay = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
    m = Image.new("L", lay.size, 0)
    ImageDraw.Draw(m).rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=int(radius * S), fill=255)
    lay.paste(grad, (0, 0), m)
    d = ImageDraw.Draw(lay)
    d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=int(radius * S), outline=rgba(edge), width=S)
    if state in ("normal", "hot", "focused"):
        d.line(P(3, 1.5, w - 3, 1.5), fill=rgba(WHITE, 200), width=S)
    if state == "focused":
        d.rounded_rectangle(P(1.5, 1.5, w - 1.5, h - 1.5), radius=int((radius - 1) * S), outline=rgba(ACCENT_LIGHT), width=S)
    if state == "pressed":
        d.line(P(3, 1.5, w - 3, 1.5), fill=rgba(mix(PRESSED_FACE, ACCENT_DARK, 0.25), 160), width=S)
    return keyed(down(lay, w, h), FACE)


def buttons():
    return strip([push_face(s) for s in ("normal", "pressed", "disabled", "hot", "focused")])


BOX = 13


def box_frame(kind, mark, state):
    """One 13 x 13 check or radio box. mark: none, check, mixed; state: normal,
    hot, pressed, disabled."""
    edge = {"normal": EDGE_DARK, "hot": ACCENT, "pressed": ACCENT_DARK, "disabled": (186, 196, 210)}[state]
    fill = {"normal": WHITE, "hot": (242, 248, 255), "pressed": ACCENT_LIGHT, "disabled": (240, 242, 246)}[state]
    on = mark != "none"
    if on and kind == "check":
        fill = {"normal": ACCENT, "hot": mix(ACCENT, WHITE, 0.15), "pressed": ACCENT_DARK, "disabled": (176, 188, 204)}[state]
        edge = {"normal": ACCENT_DARK, "hot": ACCENT, "pressed": mix(ACCENT_DARK, (0, 0, 0), 0.2), "disabled": (160, 172, 190)}[state]
    ink = WHITE if kind == "check" else {"normal": ACCENT, "hot": ACCENT, "pressed": ACCENT_DARK, "disabled": (160, 172, 190)}[state]

    def fn(d):
        if kind == "check":
            d.rounded_rectangle(P(0.5, 0.5, BOX - 0.5, BOX - 0.5), radius=int(2.5 * S), fill=rgba(fill), outline=rgba(edge), width=S)
            if mark == "check":
                d.line(P(3.2, 6.6, 5.5, 9, 9.9, 4.1), fill=rgba(ink), width=int(1.7 * S), joint="curve")
            elif mark == "mixed":
                d.rounded_rectangle(P(3.5, 5.6, 9.5, 7.4), radius=int(0.8 * S), fill=rgba(ink))
        else:
            d.ellipse(P(0.5, 0.5, BOX - 0.5, BOX - 0.5), fill=rgba(fill), outline=rgba(edge), width=S)
            if on:
                d.ellipse(P(3.5, 3.5, BOX - 3.5, BOX - 3.5), fill=rgba(ink))

    return key_frame(BOX, BOX, fn, FACE)


def check_boxes():
    frames = []
    for mark in ("none", "check", "mixed"):
        for state in ("normal", "hot", "pressed", "disabled"):
            frames.append(box_frame("check", mark, state))
    return strip(frames)


def radio_buttons():
    frames = []
    for mark in ("none", "check"):
        for state in ("normal", "hot", "pressed", "disabled"):
            frames.append(box_frame("radio", mark, state))
    return strip(frames)


# ================================================================ progress

def progress():
    w, h = 24, 18
    frames = []

    def track(d):
        d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=4 * S, fill=rgba((236, 242, 250)), outline=rgba(EDGE), width=S)
        d.line(P(4, 1.6, w - 4, 1.6), fill=rgba((214, 224, 238)), width=S)

    frames.append(key_frame(w, h, track, FACE))
    lay, d = canvas(w, h, S)
    grad = vgradient(w * S, h * S, (92, 168, 244), ACCENT_DARK).convert("RGBA")
    m = Image.new("L", lay.size, 0)
    ImageDraw.Draw(m).rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=4 * S, fill=255)
    lay.paste(grad, (0, 0), m)
    d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=4 * S, outline=rgba(ACCENT_DARK), width=S)
    d.line(P(4, 2, w - 4, 2), fill=rgba(WHITE, 90), width=S)
    frames.append(keyed(down(lay, w, h), (236, 242, 250)))
    return strip(frames)


def progress_chunk():
    w, h = 8, 12
    im = vgradient(w, h, (92, 168, 244), ACCENT_DARK)
    d = ImageDraw.Draw(im)
    d.line((w - 1, 0, w - 1, h), fill=(236, 242, 250))
    return im


# ================================================================ group box

def group_box_edge():
    """Two frames: normal and disabled, a rounded outline on a clear middle."""
    w, h = 16, 16
    frames = []
    for edge in (EDGE, (196, 206, 220)):
        frames.append(key_frame(w, h, lambda d, e=edge: d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=4 * S, outline=rgba(e), width=S), FACE))
    return strip(frames)


def group_box_label():
    w, h = 24, 18
    return key_frame(w, h, lambda d: d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=4 * S, fill=rgba(FACE_LIGHT), outline=rgba(EDGE), width=S), FACE)


# ================================================================ tabs

def tabs():
    """Five frames: normal, current, hot, disabled, current and focused."""
    w, h = 24, 22
    frames = []
    for state in ("normal", "current", "hot", "disabled", "focus"):
        top, bot, edge = {
            "normal": ((232, 240, 251), (214, 227, 245), EDGE),
            "current": (FACE_LIGHT, FACE, EDGE),
            "hot": ((240, 247, 255), HOT_FACE, ACCENT),
            "disabled": ((236, 239, 244), (228, 232, 238), (190, 200, 214)),
            "focus": (FACE_LIGHT, FACE, ACCENT),
        }[state]
        lay = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
        m = Image.new("L", lay.size, 0)
        ImageDraw.Draw(m).rounded_rectangle(P(0.5, 0.5, w - 0.5, h + 6), radius=4 * S, fill=255)
        lay.paste(vgradient(w * S, h * S, top, bot).convert("RGBA"), (0, 0), m)
        d = ImageDraw.Draw(lay)
        d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h + 6), radius=4 * S, outline=rgba(edge), width=S)
        if state in ("current", "focus"):
            d.line(P(3, 1.5, w - 3, 1.5), fill=rgba(ACCENT if state == "focus" else WHITE), width=S)
        else:
            # Other tabs stand on the pane's top line.
            d.line(P(0, h - 0.5, w, h - 0.5), fill=rgba(EDGE), width=S)
        frames.append(keyed(down(lay, w, h), FACE))
    return strip(frames)


def tab_pane():
    w, h = 16, 16
    im = Image.new("RGB", (w, h), FACE)
    d = ImageDraw.Draw(im)
    d.rectangle((0, 0, w - 1, h - 1), outline=EDGE)
    return im


# ================================================================ status bar, toolbar

def status_edges():
    """Three frames: a panel, a sunken panel, a plain panel."""
    w, h = 12, 18
    frames = []
    for kind in ("panel", "sunk", "plain"):
        im = Image.new("RGB", (w, h), FACE)
        d = ImageDraw.Draw(im)
        if kind == "panel":
            d.line((w - 1, 3, w - 1, h - 4), fill=FACE_DARK)
        elif kind == "sunk":
            d.rectangle((0, 1, w - 1, h - 2), outline=FACE_DARK, fill=FACE_LIGHT)
        frames.append(im)
    return strip(frames)


def toolbars():
    """Five frames as for buttons, but the normal face is flat (clear)."""
    frames = [Image.new("RGB", (BTN_W, BTN_H), KEY)]
    frames += [push_face(s) for s in ("pressed", "disabled", "hot", "focused")]
    frames[2] = Image.new("RGB", (BTN_W, BTN_H), KEY)
    return strip(frames)


# ================================================================ combo box

COMBO_BW = 19  # the system scroll-arrow width (17) + 2
COMBO_H = 21


def sunk_edge():
    """The edit-like frame of a combo box; states normal, pressed, disabled, hot."""
    w, h = 20, COMBO_H
    frames = []
    for state in ("normal", "pressed", "disabled", "hot"):
        edge = {"normal": EDGE, "pressed": ACCENT_DARK, "disabled": (196, 204, 216), "hot": ACCENT}[state]
        fill = (246, 247, 249) if state == "disabled" else WHITE
        frames.append(key_frame(w, h, lambda d, e=edge, f=fill: d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=3 * S, fill=rgba(f), outline=rgba(e), width=S), FACE))
    return strip(frames)


def combo_button():
    """The drop-down part at the right; its outline continues the sunk edge."""
    w, h = COMBO_BW, COMBO_H
    frames = []
    for state in ("normal", "pressed", "disabled", "hot"):
        edge = {"normal": EDGE, "pressed": ACCENT_DARK, "disabled": (196, 204, 216), "hot": ACCENT}[state]
        top, bot = {"normal": (FACE_LIGHT, (218, 231, 249)), "pressed": (PRESSED_FACE, (196, 218, 248)),
                    "disabled": ((242, 244, 247), (236, 239, 243)), "hot": ((238, 246, 255), HOT_FACE)}[state]
        lay = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
        m = Image.new("L", lay.size, 0)
        ImageDraw.Draw(m).rounded_rectangle(P(-6, 0.5, w - 0.5, h - 0.5), radius=3 * S, fill=255)
        lay.paste(vgradient(w * S, h * S, top, bot).convert("RGBA"), (0, 0), m)
        d = ImageDraw.Draw(lay)
        d.rounded_rectangle(P(-6, 0.5, w - 0.5, h - 0.5), radius=3 * S, outline=rgba(edge), width=S)
        d.line(P(0.5, 3, 0.5, h - 3), fill=rgba(mix(edge, WHITE, 0.35)), width=S)
        frames.append(keyed(down(lay, w, h), WHITE))
    return strip(frames)


# The extra strip's frames share one height: the size grip is drawn at its own size in the
# corner of a status bar (20 px at the least), and the combo arrow is centred in its button.
EXTRA_H = 20


def extra_images():
    """Frames 1 to 4: the combo arrow for normal, pressed, disabled, hot; frame 5:
    the status bar's size grip."""
    w, h = COMBO_BW, EXTRA_H
    frames = []
    for ink in (TEXT_SOFT, ACCENT_DARK, (176, 186, 200), ACCENT_DARK):
        def fn(d, ink=ink):
            cx, cy = w / 2, h / 2
            d.line(P(cx - 3.5, cy - 1.5, cx, cy + 2, cx + 3.5, cy - 1.5), fill=rgba(ink), width=int(1.5 * S), joint="curve")
        frames.append(key_frame(w, h, fn, FACE_LIGHT))
    grip = Image.new("RGB", (w, h), KEY)
    d = ImageDraw.Draw(grip)
    for i in range(3):
        for j in range(3 - i):
            x, y = w - 4 - 3 * j, h - 4 - 3 * i
            d.rectangle((x - 1, y - 1, x, y), fill=(168, 184, 206))
            d.point((x, y), fill=WHITE)
    frames.append(grip)
    return strip(frames)


# ================================================================ header

def headerbar():
    """normal, hot, pressed, disabled, sorted."""
    w, h = 20, 22
    frames = []
    for state in ("normal", "hot", "pressed", "disabled", "sorted"):
        top, bot = {"normal": (WHITE, (234, 241, 251)), "hot": ((246, 250, 255), HOT_FACE), "pressed": (ACCENT_LIGHT, (190, 214, 246)),
                    "disabled": ((246, 247, 249), (238, 240, 244)), "sorted": ((240, 246, 255), (222, 235, 252))}[state]
        im = vgradient(w, h, top, bot)
        d = ImageDraw.Draw(im)
        d.line((0, h - 1, w, h - 1), fill=EDGE)
        d.line((w - 1, 4, w - 1, h - 5), fill=(200, 212, 230))
        if state == "hot":
            d.line((0, h - 2, w - 1, h - 2), fill=ACCENT)
        frames.append(im)
    return strip(frames)


# ================================================================ scroll bars

SB = 17  # the system scroll-arrow size (SM_CXHSCROLL) on Windows and in our Wine prefix


def arrow(d, direction, ink, size=SB):
    cx, cy = size / 2, size / 2
    k = 3.2
    pts = {
        "left": (cx + k / 2, cy - k, cx - k / 2, cy, cx + k / 2, cy + k),
        "right": (cx - k / 2, cy - k, cx + k / 2, cy, cx - k / 2, cy + k),
        "up": (cx - k, cy + k / 2, cx, cy - k / 2, cx + k, cy + k / 2),
        "down": (cx - k, cy - k / 2, cx, cy + k / 2, cx + k, cy - k / 2),
    }[direction]
    d.line(P(*pts), fill=rgba(ink), width=int(1.6 * S), joint="curve")


def scroll_button(direction, state):
    def fn(d):
        if state in ("pressed", "hot"):
            fill = PRESSED_FACE if state == "pressed" else HOT_FACE
            d.rounded_rectangle(P(1.5, 1.5, SB - 1.5, SB - 1.5), radius=3 * S, fill=rgba(fill), outline=rgba(ACCENT if state == "hot" else ACCENT_DARK), width=S)
        ink = {"normal": TEXT_SOFT, "pressed": ACCENT_DARK, "hot": ACCENT_DARK, "unused": TEXT_SOFT}[state]
        arrow(d, direction, ink)
    bg = Image.new("RGB", (SB, SB), (236, 242, 251))
    lay = layer_of(SB, SB, fn)
    return over(bg, lay)


def grip(vertical, state):
    im = Image.new("RGB", (SB, SB), KEY)
    d = ImageDraw.Draw(im)
    ink = {"normal": (150, 170, 200), "pressed": WHITE, "hot": (120, 150, 196)}[state]
    for i in (-3, 0, 3):
        if vertical:
            d.line((5, SB // 2 + i, SB - 6, SB // 2 + i), fill=ink)
        else:
            d.line((SB // 2 + i, 5, SB // 2 + i, SB - 6), fill=ink)
    return im


def scrollbar():
    frames = []
    for direction in ("left", "right", "up", "down"):
        for state in ("normal", "pressed", "unused", "hot"):
            frames.append(scroll_button(direction, state))
    for vertical in (False, True):
        for state in ("normal", "pressed", "hot"):
            frames.append(grip(vertical, state))
    frames.append(Image.new("RGB", (SB, SB), (236, 242, 251)))
    return strip(frames)


def scroll_track(vertical):
    """normal, pressed, disabled, hot."""
    frames = []
    for state in ("normal", "pressed", "disabled", "hot"):
        c = {"normal": (236, 242, 251), "pressed": (218, 230, 248), "disabled": (242, 244, 247), "hot": (230, 238, 250)}[state]
        im = Image.new("RGB", (SB, SB), c)
        d = ImageDraw.Draw(im)
        if vertical:
            d.line((0, 0, 0, SB), fill=mix(c, EDGE, 0.35))
        else:
            d.line((0, 0, SB, 0), fill=mix(c, EDGE, 0.35))
        frames.append(im)
    return strip(frames)


def scroll_thumb(vertical):
    """normal, pressed, hot, disabled: a rounded bar inset from the track."""
    frames = []
    for state in ("normal", "pressed", "hot", "disabled"):
        fill, edge = {"normal": ((196, 210, 232), (170, 188, 214)), "pressed": (ACCENT, ACCENT_DARK),
                      "hot": ((168, 192, 228), (140, 168, 210)), "disabled": ((226, 232, 240), (214, 220, 230))}[state]

        def fn(d, fill=fill, edge=edge):
            box = (3, 1.5, SB - 3, SB - 1.5) if vertical else (1.5, 3, SB - 1.5, SB - 3)
            d.rounded_rectangle(P(*box), radius=int(4.5 * S), fill=rgba(fill), outline=rgba(edge), width=S)
        frames.append(key_frame(SB, SB, fn, (236, 242, 251)))
    return strip(frames)


# ================================================================ track bars

def thumb(kind, state):
    """Track-bar thumbs: Horz and Vert capsules, Left/Right/Up/Down pointed."""
    horizontal_bar = kind in ("horz", "up", "down")
    w, h = (11, 21) if horizontal_bar else (21, 11)
    fill, edge = {"normal": (FACE_LIGHT, EDGE_DARK), "std": (WHITE, ACCENT), "pressed": (ACCENT_LIGHT, ACCENT_DARK),
                  "disabled": ((238, 241, 246), (190, 200, 214)), "focus": (WHITE, ACCENT_DARK)}[state]

    def fn(d):
        if kind in ("horz", "vert"):
            d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=int(4.5 * S), fill=rgba(fill), outline=rgba(edge), width=S)
            if horizontal_bar:
                for y in (h / 2 - 2.5, h / 2, h / 2 + 2.5):
                    d.line(P(3.5, y, w - 3.5, y), fill=rgba(mix(edge, WHITE, 0.35)), width=S)
            else:
                for x in (w / 2 - 2.5, w / 2, w / 2 + 2.5):
                    d.line(P(x, 3.5, x, h - 3.5), fill=rgba(mix(edge, WHITE, 0.35)), width=S)
        else:
            a, b = 0.5, 7.5
            if kind == "down":
                pts = (a, a, w - a, a, w - a, h - 6, w / 2, h - a, a, h - 6)
            elif kind == "up":
                pts = (w / 2, a, w - a, 6, w - a, h - a, a, h - a, a, 6)
            elif kind == "right":
                pts = (a, a, w - 6, a, w - a, h / 2, w - 6, h - a, a, h - a)
            else:
                pts = (a, h / 2, 6, a, w - a, a, w - a, h - a, 6, h - a)
            del b
            d.polygon(P(*pts), fill=rgba(fill))
            d.line(P(*pts, pts[0], pts[1]), fill=rgba(edge), width=S, joint="curve")
    return key_frame(w, h, fn, FACE)


def thumbs(kind):
    # The painter always takes frame 2, so frame 2 is the everyday look.
    return strip([thumb(kind, s) for s in ("normal", "std", "pressed", "disabled", "focus")])


def track_image(vertical):
    w, h = 24, 6
    lay, d = canvas(w, h, S)
    d.rounded_rectangle(P(0.5, 0.5, w - 0.5, h - 0.5), radius=int(2.5 * S), fill=rgba((204, 216, 234)), outline=rgba(EDGE_DARK), width=S)
    d.line(P(3, 1.6, w - 3, 1.6), fill=rgba((176, 192, 216)), width=S)
    im = over(Image.new("RGB", (w, h), FACE), down(lay, w, h))
    return im.transpose(Image.TRANSPOSE) if vertical else im


# ================================================================ up-down

def updown(vertical):
    """Eight frames: state + 4 x button; states normal, pressed, disabled, hot;
    buttons up (or left) then down (or right). The glyph strip has the same
    eight frames."""
    w, h = (16, 11) if vertical else (10, 16)
    faces, glyphs = [], []
    for button in (0, 1):
        for state in ("normal", "pressed", "disabled", "hot"):
            st = {"normal": "normal", "pressed": "pressed", "disabled": "disabled", "hot": "hot"}[state]
            faces.append(push_face(st, w, h, radius=2.5))
            ink = {"normal": TEXT_SOFT, "pressed": ACCENT_DARK, "disabled": (176, 186, 200), "hot": ACCENT_DARK}[state]
            direction = ("up", "down")[button] if vertical else ("left", "right")[button]

            def fn(d, direction=direction, ink=ink):
                cx, cy, k = w / 2, h / 2, 2.6
                pts = {
                    "up": (cx - k, cy + k / 2, cx, cy - k / 2, cx + k, cy + k / 2),
                    "down": (cx - k, cy - k / 2, cx, cy + k / 2, cx + k, cy - k / 2),
                    "left": (cx + k / 2, cy - k, cx - k / 2, cy, cx + k / 2, cy + k),
                    "right": (cx - k / 2, cy - k, cx + k / 2, cy, cx - k / 2, cy + k),
                }[direction]
                d.line(P(*pts), fill=rgba(ink), width=int(1.5 * S), joint="curve")
            glyphs.append(key_frame(w, h, fn, FACE_LIGHT))
    return strip(faces), strip(glyphs)


# ================================================================ the skin

def build():
    files = {}
    left, right, top, bottom = frame_edges()
    files.update({"frameleft.bmp": left, "frameright.bmp": right, "frametop.bmp": top, "framebottom.bmp": bottom})
    files["titletextback.bmp"] = text_back()
    for kind in ("close", "max", "min", "restore"):
        files["caption-%s.bmp" % kind] = caption_button(kind)
    files["mdicontrols.bmp"] = mdi_controls()
    files["menubar.bmp"] = menu_bar()
    files["menuitem.bmp"] = menu_item()
    files["menubackground.bmp"] = menu_background()
    files["buttons.bmp"] = buttons()
    files["checkbox.bmp"] = check_boxes()
    files["radiobutton.bmp"] = radio_buttons()
    files["progress.bmp"] = progress()
    files["progresschunk.bmp"] = progress_chunk()
    files["groupboxedge.bmp"] = group_box_edge()
    files["groupboxlabel.bmp"] = group_box_label()
    files["tabs.bmp"] = tabs()
    files["tabpane.bmp"] = tab_pane()
    files["statusbar.bmp"] = status_edges()
    files["toolbars.bmp"] = toolbars()
    files["sunkedge.bmp"] = sunk_edge()
    files["combobutton.bmp"] = combo_button()
    files["extraimages.bmp"] = extra_images()
    files["headerbar.bmp"] = headerbar()
    files["scrollbar.bmp"] = scrollbar()
    files["hscroll.bmp"] = scroll_track(False)
    files["vscroll.bmp"] = scroll_track(True)
    files["hscrollthumb.bmp"] = scroll_thumb(False)
    files["vscrollthumb.bmp"] = scroll_thumb(True)
    for kind in ("horz", "vert", "left", "right", "up", "down"):
        files["trackthumb-%s.bmp" % kind] = thumbs(kind)
    uv, uvg = updown(True)
    uh, uhg = updown(False)
    files.update({"updownvert.bmp": uv, "updownvert-glyph.bmp": uvg, "updownhorz.bmp": uh, "updownhorz-glyph.bmp": uhg})
    files["track.bmp"] = track_image(False)
    files["trackvert.bmp"] = track_image(True)
    return files


def main():
    files = build()
    os.makedirs(os.path.join(ROOT, OUT), exist_ok=True)
    for name, img in sorted(files.items()):
        save_bmp(img, os.path.join(OUT, name))
    with open(os.path.join(ROOT, OUT, "skin.ini"), "wb") as f:
        f.write(ini_text().replace("\n", "\r\n").encode("ascii"))


from skin_ini import ini_text  # noqa: E402

if __name__ == "__main__":
    main()
