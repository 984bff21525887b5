#!/usr/bin/python3
"""Composes a mock of the main window and the progress window from the skin's
pictures, cut and stretched the way the painters do (nine-part drawing, key
colour left out), to judge the skin as a whole.

    /usr/bin/python3 scripts/art/preview.py [output.png]

Default output: docs/skin-preview.png. This is a picture for people; the real
drawing is the skin engine's.
"""

import importlib.util
import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
SKIN = os.path.join(ROOT, "resources", "skin")
IMAGES = os.path.join(ROOT, "resources", "images")
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
KEY = (255, 0, 255)

module_spec = importlib.util.spec_from_file_location("contact_sheet", os.path.join(HERE, "contact-sheet.py"))
cs = importlib.util.module_from_spec(module_spec)
module_spec.loader.exec_module(cs)


def load(name, folder=SKIN):
    im = Image.open(os.path.join(folder, name))
    im.load()
    return im.convert("RGB")


def frame_of(strip, n, k, vertical=False):
    if vertical:
        fh = strip.height // n
        return strip.crop((0, (k - 1) * fh, strip.width, k * fh))
    fw = strip.width // n
    return strip.crop(((k - 1) * fw, 0, k * fw, strip.height))


def nine(src, W, H, m, tile=False):
    L, T, R, B = m
    if W < L + R:
        L = R = 0
    if H < T + B:
        T = B = 0
    out = Image.new("RGB", (W, H), KEY)
    w, h = src.size

    def piece(sx0, sy0, sx1, sy1, dx0, dy0, dx1, dy1):
        if sx1 > sx0 and sy1 > sy0 and dx1 > dx0 and dy1 > dy0:
            out.paste(src.crop((sx0, sy0, sx1, sy1)).resize((dx1 - dx0, dy1 - dy0), Image.NEAREST), (dx0, dy0))

    piece(0, 0, L, T, 0, 0, L, T)
    piece(0, h - B, L, h, 0, H - B, L, H)
    piece(w - R, 0, w, T, W - R, 0, W, T)
    piece(0, T, L, h - B, 0, T, L, H - B)
    piece(L, 0, w - R, T, L, 0, W - R, T)
    if tile:
        mid = src.crop((L, T, w - R, h - B))
        if mid.width and mid.height:
            for y in range(T, H - B, mid.height):
                for x in range(L, W - R, mid.width):
                    out.paste(mid.crop((0, 0, min(mid.width, W - R - x), min(mid.height, H - B - y))), (x, y))
    else:
        piece(L, T, w - R, h - B, L, T, W - R, H - B)
    piece(w - R, h - B, w, h, W - R, H - B, W, H)
    piece(w - R, T, w, h - B, W - R, T, W, H - B)
    piece(L, h - B, w - R, h, L, H - B, W - R, H)
    return out


def put(canvas, img, x, y, transparent=True):
    if transparent:
        mask = Image.eval(img, lambda v: v).convert("RGB")
        m = Image.new("L", img.size, 0)
        px, mp = img.load(), m.load()
        for yy in range(img.height):
            for xx in range(img.width):
                if px[xx, yy] != KEY:
                    mp[xx, yy] = 255
        canvas.paste(img, (x, y), m)
        del mask
    else:
        canvas.paste(img, (x, y))


class Skin:
    def __init__(self):
        with open(os.path.join(SKIN, "skin.ini"), "rb") as f:
            self.ini = cs.Ini(f.read().decode("latin-1"))
        self.face = self.colour("ButtonFace")

    def colour(self, key):
        return tuple(int(v) for v in self.ini.get("Colours", key).split())

    def margins(self, sec):
        i = self.ini
        return (i.int(sec, "LeftWidth"), i.int(sec, "TopHeight"), i.int(sec, "RightWidth"), i.int(sec, "BottomHeight"))

    def element(self, canvas, sec, key, n, k, box, transparent=True, vertical=False, margins=None):
        x0, y0, x1, y1 = box
        strip = load(self.ini.get(sec, key))
        img = nine(frame_of(strip, n, k, vertical), x1 - x0, y1 - y0, margins or self.margins(sec), bool(self.ini.int(sec, "Tile")))
        put(canvas, img, x0, y0, transparent)


def text(d, xy, s, size=12, fill=(31, 45, 61), anchor="la", bold=False):
    f = ImageFont.truetype(FONT, size)
    d.text(xy, s, font=f, fill=fill, anchor=anchor)
    if bold:
        d.text((xy[0] + 1, xy[1]), s, font=f, fill=fill, anchor=anchor)


def window_frame(sk, c, W, H, title, active=True, icon=True):
    i = sk.ini
    k = 1 if active else 2
    left, right = load(i.get("Personality", "Left")), load(i.get("Personality", "Right"))
    top, bottom = load(i.get("Personality", "Top")), load(i.get("Personality", "Bottom"))
    bl, br = left.width // 2, right.width // 2
    th, bb = top.height // 2, bottom.height // 2
    pm = lambda e: (0, i.int("Personality", e + "TopHeight"), 0, i.int("Personality", e + "BotHeight"))
    put(c, nine(frame_of(left, 2, k), bl, H, pm("Left")), 0, 0)
    put(c, nine(frame_of(right, 2, k), br, H, pm("Right")), W - br, 0)
    put(c, nine(frame_of(bottom, 2, k, True), W - bl - br, bb, (0, 0, 0, 0)), bl, H - bb)
    tm = (i.int("Personality", "TopTopHeight"), 0, i.int("Personality", "TopBotHeight"), 0)
    put(c, nine(frame_of(top, 2, k, True), W - bl - br, th, tm), bl, 0)
    d = ImageDraw.Draw(c)
    f = ImageFont.truetype(FONT, 12)
    shift = i.int("Personality", "TextShift")
    tl, tr = i.int("Personality", "TXTBackleft"), i.int("Personality", "TXTBackRight")
    tw = int(f.getlength(title))
    tb = load(i.get("Personality", "TextBack"))
    x = bl + shift
    put(c, nine(frame_of(tb, 2, k, True), tw + tl + tr, th, (tl, 0, tr, 0)), x, 0)
    col = tuple(int(v) for v in sk.ini.get("Colours", "TitleTextActive" if active else "TitleTextNoActive").split())
    d.text((x + tl, th // 2), title, font=f, fill=col, anchor="lm")
    if icon:
        ic = Image.open(os.path.join(IMAGES, "app.ico"))
        ic.size = (16, 16)
        ic = ic.convert("RGBA")
        c.paste(ic, (i.int("Button4", "XCoord"), i.int("Button4", "YCoord")), ic)
    for sec, state in (("Button0", 3 if active else 4), ("Button1", 1 if active else 4), ("Button2", 1 if active else 4)):
        img = load(i.get(sec, "ButtonImage"))
        fr = frame_of(img, i.int(sec, "frame"), state)
        put(c, fr, W - i.int(sec, "XCoord"), i.int(sec, "YCoord"))
    return bl, th, br, bb


def button(sk, c, box, caption, state=1, glyph=None, size=12, colour=None):
    sk.element(c, "Buttons", "Bitmap", 5, state, box)
    d = ImageDraw.Draw(c)
    x0, y0, x1, y1 = box
    col = colour or tuple(int(v) for v in sk.ini.get("Buttons", "NormalColour2").split())
    f = ImageFont.truetype(FONT, size)
    tw = f.getlength(caption)
    if glyph:
        g = load(glyph, IMAGES)
        total = g.width + 4 + tw
        gx = int(x0 + (x1 - x0 - total) / 2)
        put(c, g, gx, (y0 + y1 - g.height) // 2)
        d.text((gx + g.width + 4, (y0 + y1) // 2), caption, font=f, fill=col, anchor="lm")
    else:
        d.text(((x0 + x1) // 2, (y0 + y1) // 2), caption, font=f, fill=col, anchor="mm")


def box_control(sk, c, x, y, caption, kind, frame):
    key, fkey = ("CheckButton", "CheckButtonFrame") if kind == "check" else ("RadioButton", "RadioButtonFrame")
    strip = load(sk.ini.get("Buttons", key))
    fr = frame_of(strip, sk.ini.int("Buttons", fkey), frame)
    put(c, fr, x, y + 2)
    text(ImageDraw.Draw(c), (x + fr.width + 4, y + 2 + fr.height // 2), caption, anchor="lm")


def group(sk, c, box, caption):
    d = ImageDraw.Draw(c)
    x0, y0, x1, y1 = box
    f = ImageFont.truetype(FONT, 12)
    yy = y0 + 7
    d.rounded_rectangle((x0 + 1, yy, x1 - 1, y1 - 1), radius=3, outline=sk.colour("ButtonShadow"))
    tw = f.getlength(caption)
    d.rectangle((x0 + 8, y0, x0 + 8 + tw + 4, y0 + 14), fill=sk.face)
    d.text((x0 + 10, y0 + 7), caption, font=f, fill=(31, 45, 61), anchor="lm")


def combo(sk, c, box, caption, state=1):
    """The combo strip the skin data builds: sunk edge, button at the right, arrow."""
    x0, y0, x1, y1 = box
    n = 4
    se, cb, ex = load(sk.ini.get("SunkEdge", "Image")), load(sk.ini.get("ComboButton", "Image")), load(sk.ini.get("ExtraImages", "Image"))
    bw = 17 + 2  # SM_CXHSCROLL + 2
    scratch = Image.new("RGB", (50, 21), KEY)
    put(scratch, nine(frame_of(se, n, state), 50, 21, sk.margins("SunkEdge")), 0, 0)
    put(scratch, nine(frame_of(cb, n, state), bw, 21, sk.margins("ComboButton")), 50 - bw, 0)
    put(scratch, nine(frame_of(ex, 5, state), bw, 21, sk.margins("ExtraImages")), 50 - bw, 0)
    ImageDraw.Draw(scratch).rectangle((2, 2, 49 - bw - 1, 18 - 1), fill=KEY)
    L, T, R, B = sk.margins("SunkEdge")
    img = nine(scratch, x1 - x0, y1 - y0, (2, T, bw + 2, B))
    d = ImageDraw.Draw(c)
    d.rectangle((x0 + 2, y0 + 2, x1 - bw - 3, y1 - 3), fill=(255, 255, 255))
    put(c, img, x0, y0)
    text(d, (x0 + 5, (y0 + y1) // 2), caption, anchor="lm")


def edit(sk, c, box):
    d = ImageDraw.Draw(c)
    x0, y0, x1, y1 = box
    d.rectangle(box, fill=(255, 255, 255), outline=sk.colour("ButtonShadow"))


def vscroll(sk, c, box, thumb=(0.0, 0.35), hot=None):
    x0, y0, x1, y1 = box
    sb = load(sk.ini.get("Scrollbar", "Image"))
    A = x1 - x0
    L = y1 - y0
    sk.element(c, "VertScroll", "Image", 4, 1, (x0, y0 + A, x1, y1 - A), transparent=False)
    put(c, frame_of(sb, 23, 12 if hot == "up" else 9), x0, y0, False)
    put(c, frame_of(sb, 23, 13), x0, y1 - A, False)
    t0 = int(y0 + A + (L - 2 * A) * thumb[0])
    t1 = int(y0 + A + (L - 2 * A) * thumb[1])
    n = sk.ini.int("VertScrollThumb", "FrameCount", 3)
    sk.element(c, "VertScrollThumb", "Image", n, 3 if hot == "thumb" else 1, (x0, t0, x1, t1))
    g = frame_of(sb, 23, 22 if hot == "thumb" else 20)
    put(c, g, x0, (t0 + t1 - g.height) // 2)


def header(sk, c, box, cols):
    x0, y0, x1, y1 = box
    x = x0
    d = ImageDraw.Draw(c)
    for i, (name, w) in enumerate(cols):
        sk.element(c, "Headerbar", "Image", 5, 2 if i == 1 else 1, (x, y0, x + w, y1), transparent=False)
        text(d, (x + 6, (y0 + y1) // 2), name, anchor="lm")
        x += w
    sk.element(c, "Headerbar", "Image", 5, 1, (x, y0, x1, y1), transparent=False)


def main_window(sk):
    W, H = 945, 643
    c = Image.new("RGB", (W, H), KEY)
    bl, th, br, bb = window_frame(sk, c, W, H, "Velmo转换 - 独立版")
    cx0, cy0, cx1, cy1 = bl, th, W - br, H - bb
    client = Image.new("RGB", (cx1 - cx0, cy1 - cy0), sk.face)
    cw, ch = client.size
    # The page control's pane around everything.
    sk.element(client, "Tab.Pane", "Image", 1, 1, (0, 0, cw, ch), transparent=False)
    banner = load("banner.bmp", IMAGES).resize((cw - 8, 137))
    client.paste(banner, (4, 4))
    client.paste(load("logo.bmp", IMAGES), (4 + 8, 4 + 4))
    d = ImageDraw.Draw(client)
    text(d, (4 + 184, 4 + 100), "0.4.7  正式版", 11, (255, 255, 255))
    text(d, (cw - 30 - 4, 4 + 8), "示例站点 专业提供超过70个视频网站在线解析服务", 12, (255, 255, 255), anchor="ra")
    text(d, (cw - 30 - 4, 4 + 34), "立即访问示例站点", 14, (255, 255, 255), anchor="ra")
    d.line((cw - 30 - 4 - 112, 4 + 52, cw - 34, 4 + 52), fill=(255, 255, 255))
    p = 4 + 137
    text(d, (4 + 16, p + 10), "转换后文件保存位置:")
    edit(sk, client, (4 + 132, p + 5, 4 + 132 + 377, p + 26))
    text(d, (4 + 138, p + 9), "C:\\视频\\输出\\", fill=(31, 45, 61))
    button(sk, client, (4 + 524, p + 4, 4 + 617, p + 29), "浏览", 4)
    button(sk, client, (4 + 624, p + 4, 4 + 717, p + 29), "访问目录")
    for i, (g, cap) in enumerate((("import", "导入文件"), ("remove", "移除文件"), ("clear", "全部清空"), ("checkall", "全部选择"), ("invert", "反向选择"))):
        x = 4 + 16 + 100 * i
        button(sk, client, (x, p + 32, x + 93, p + 61), cap, 2 if i == 2 else 1, "glyph-%s.bmp" % g, colour=(96, 108, 124))
    top = p + 68
    status_h = 19
    list_x1 = cw - 4 - 299
    # List view with header, icons and check boxes.
    lv = (4, top, list_x1, ch - 4 - status_h)
    d.rectangle(lv, fill=(255, 255, 255), outline=sk.colour("ButtonShadow"))
    header(sk, client, (lv[0] + 1, lv[1] + 1, lv[2] - 18, lv[1] + 23), (("文件名", 260), ("格式", 70), ("路径", 240)))
    icons = load("listicons.bmp", IMAGES)
    rows = (("旅行记录 第一集", 1, True), ("海边日落", 1, True), ("家庭聚会 2009", 2, True), ("新年晚会片段", 0, True), ("生日快乐", 3, False), ("旧录像带", 4, True))
    hi = sk.colour("Hilight")
    for r, (name, icon, checked) in enumerate(rows):
        y = lv[1] + 26 + r * 20
        if r == 2:
            d.rectangle((lv[0] + 2, y - 1, lv[2] - 19, y + 18), fill=hi)
        box_control(sk, client, lv[0] + 6, y, "", "check", 5 if checked else 1)
        put(client, frame_of(icons, 5, icon + 1), lv[0] + 24, y + 1)
        colr = (255, 255, 255) if r == 2 else (31, 45, 61)
        text(d, (lv[0] + 44, y + 9), name, fill=colr, anchor="lm")
        text(d, (lv[0] + 264, y + 9), "FLV", fill=colr, anchor="lm")
        text(d, (lv[0] + 334, y + 9), "D:\\下载\\%s.flv" % name, fill=colr, anchor="lm")
    vscroll(sk, client, (lv[2] - 18, lv[1] + 1, lv[2] - 1, lv[3] - 1), (0.0, 0.45), hot="thumb")
    # Options.
    ox = list_x1
    group(sk, client, (ox + 8, top + 4, ox + 8 + 285, top + 4 + 217), "转换格式为")
    opts = ("3GP  (手机,便携式设备最常见格式)", "MP4  (适合便携式设备播放)", "MP4  (索尼PSP)", "MP4  (苹果iPhone)", "MP4  (苹果ipad)",
            "AVI   (可在带USB接口的DVD机上播放)", "FLV   (可在电脑和便携式设备播放)", "MP3  (纯音乐格式)")
    for i, o in enumerate(opts):
        yy = top + 4 + 20 + 24 * i + (2 if i == 7 else 0)
        box_control(sk, client, ox + 16, yy, o, "radio", 5 if i == 1 else 2 if i == 3 else 1)
    group(sk, client, (ox + 12, top + 232, ox + 12 + 285, top + 232 + 73), "视频画质")
    text(d, (ox + 32, top + 232 + 38), "分辨率:")
    combo(sk, client, (ox + 84, top + 232 + 32, ox + 84 + 145, top + 232 + 32 + 21), "原始分辨率", 1)
    button(sk, client, (ox + 12, top + 312, ox + 145, top + 357), "开始转换", 5, "glyph-start.bmp", 14)
    box_control(sk, client, ox + 154, top + 336, "转换完删除文件", "check", 1)
    # Status bar.
    sy = ch - 4 - status_h
    sk.element(client, "StatusBarEdges", "Image", 3, 1, (4, sy, cw - 4, ch - 4), transparent=False)
    ex = load(sk.ini.get("ExtraImages", "Image"))
    put(client, frame_of(ex, 5, 5), cw - 4 - ex.width // 5, ch - 4 - 21 + 2)
    c.paste(client, (cx0, cy0))
    return c


def progress_window(sk):
    W, H = 446, 145
    c = Image.new("RGB", (W, H), sk.face)
    d = ImageDraw.Draw(c)
    d.rectangle((0, 0, W - 1, H - 1), outline=sk.colour("ButtonShadow"))
    text(d, (12, 14), "正在转换: 家庭聚会 2009.flv")
    text(d, (12, 48), "当前进度:")
    for y, frac in ((44, 0.62), (80, 0.34)):
        sk.element(c, "Progress", "Bitmap", 2, 1, (68, y, 68 + 265, y + 25))
        sk.element(c, "Progress", "Bitmap", 2, 2, (68, y, 68 + int(265 * frac), y + 25))
    text(d, (12, 84), "总进度:")
    button(sk, c, (356, 44, 356 + 75, 69), "取消", 5)
    text(d, (12, 118), "5123/8270", fill=(92, 108, 128))
    return c


def menu(sk):
    W, H = 190, 120
    c = Image.new("RGB", (W, H), (255, 255, 255))
    sk.element(c, "MenuBackground", "Image", 1, 1, (0, 0, W, H), transparent=False)
    d = ImageDraw.Draw(c)
    q = load("quarnelmenu.bmp", IMAGES)
    items = (("还原", 0, False), ("移动", -1, False), ("最小化", 2, False), ("-", -1, False), ("关闭", 3, True))
    y = 3
    for name, glyph, sel in items:
        if name == "-":
            strip = load(sk.ini.get("MenuItem", "Image"))
            sep = frame_of(strip, 5, 2)
            sep = sep.crop((0, sep.height - 8, sep.width, sep.height))
            put(c, nine(sep, W - 6, 8, (4, 0, 4, 0)), 3, y)
            y += 8
            continue
        h = 22
        if sel:
            sk.element(c, "MenuItem", "Image", 5, 4, (3, y, W - 3, y + h))
        if glyph >= 0:
            g = q.crop((glyph * 16, 0, glyph * 16 + 16, 16))
            m = Image.eval(g.convert("L"), lambda v: 0 if v > 250 else 255)
            if sel:
                g = Image.eval(g, lambda v: 255 - v if v < 128 else v)
            c.paste(g, (3 + 1 + 4, y + 3), m)
        text(d, (3 + 1 + 4 + 16 + 6, y + h // 2), name, fill=(255, 255, 255) if sel else (31, 45, 61), anchor="lm")
        if name == "关闭":
            text(d, (W - 12, y + h // 2), "Alt+F4", fill=(255, 255, 255), anchor="rm")
        y += h
    return c.crop((0, 0, W, y + 3))


def hscroll(sk, c, box, thumb, part=None, pressed=False):
    x0, y0, x1, y1 = box
    sb = load(sk.ini.get("Scrollbar", "Image"))
    A = y1 - y0
    sk.element(c, "HorzScroll", "Image", 4, 1, (x0 + A, y0, x1 - A, y1), transparent=False)
    put(c, frame_of(sb, 23, (2 if pressed else 4) if part == 0 else 1), x0, y0, False)
    put(c, frame_of(sb, 23, 5), x1 - A, y0, False)
    t0, t1 = x0 + A + thumb[0], x0 + A + thumb[1]
    n = sk.ini.int("HorzScrollThumb", "FrameCount", 3)
    k = (2 if pressed else 3) if part == 5 else 1
    sk.element(c, "HorzScrollThumb", "Image", n, k, (t0, y0, t1, y1))
    g = frame_of(sb, 23, 16 + k)
    put(c, g, (t0 + t1 - g.width) // 2, y0)


def trackbar(sk, c, x, y, w, pos, vertical=False):
    if not vertical:
        sk.element(c, "Track", "Image", 1, 1, (x, y + 8, x + w, y + 12), transparent=False)
        th = load(sk.ini.get("Trackbar.ThumbHorz", "Image"))
        put(c, frame_of(th, 5, 2), x + pos, y)
        d = ImageDraw.Draw(c)
        for i in range(0, w + 1, w // 8):
            d.line((x + 5 + i * (w - 10) // w, y + 24, x + 5 + i * (w - 10) // w, y + 27), fill=(31, 45, 61))
    else:
        sk.element(c, "TrackVert", "Image", 1, 1, (x + 8, y, x + 12, y + w), transparent=False)
        th = load(sk.ini.get("Trackbar.ThumbVert", "Image"))
        put(c, frame_of(th, 5, 2), x, y + pos)


def updown(sk, c, x, y, states=(1, 1)):
    strip, glyphs = load(sk.ini.get("UpDown.Vert", "Image")), load(sk.ini.get("UpDown.Vert", "GlyphImage"))
    for b, st in enumerate(states):
        k = st + 4 * b
        box = (x, y + 11 * b, x + 17, y + 11 * (b + 1))
        sk.element(c, "UpDown.Vert", "Image", 8, k, box)
        g = frame_of(glyphs, 8, k)
        put(c, g, x + (17 - g.width) // 2, y + 11 * b)


def states_board(sk):
    W, H = 945, 300
    c = Image.new("RGB", (W, H), sk.face)
    d = ImageDraw.Draw(c)
    for i, (name, k) in enumerate((("普通", 1), ("按下", 2), ("禁用", 3), ("悬停", 4), ("默认", 5))):
        button(sk, c, (16 + 96 * i, 14, 16 + 96 * i + 86, 40), name, k, colour=(150, 162, 178) if k == 3 else None)
    for i in range(12):
        strip = load(sk.ini.get("Buttons", "CheckButton"))
        put(c, frame_of(strip, 12, i + 1), 16 + 22 * i, 56)
    for i in range(8):
        strip = load(sk.ini.get("Buttons", "RadioButton"))
        put(c, frame_of(strip, 8, i + 1), 290 + 22 * i, 56)
    # Tabs on their pane.
    tx, ty = 16, 86
    sk.element(c, "Tab.Pane", "Image", 1, 1, (tx, ty + 22, tx + 300, ty + 110), transparent=False)
    x = tx + 2
    for i, (name, k) in enumerate((("常规", 1), ("输出", 2), ("高级", 3), ("关于", 4))):
        w = 64
        top = ty + (2 if k == 2 else 4)
        sk.element(c, "Tabs", "Image", 5, k, (x, top, x + w, ty + 23))
        text(d, (x + w // 2, (top + ty + 23) // 2), name, anchor="mm", fill=(31, 45, 61) if k == 2 else (92, 108, 128))
        x += w - 1
    text(d, (tx + 14, ty + 44), "选项卡页面")
    # Combo states.
    for i in range(4):
        combo(sk, c, (340 + 150 * i, 86, 340 + 150 * i + 140, 107), ("原始分辨率", "176x144", "320x240", "640x480")[i], i + 1)
    # Header states.
    header(sk, c, (340, 120, 930, 142), (("名称", 150), ("格式", 90), ("大小", 100), ("路径", 120)))
    # Scroll bars.
    hscroll(sk, c, (340, 156, 640, 173), (40, 140))
    hscroll(sk, c, (660, 156, 930, 173), (90, 180), part=5)
    hscroll(sk, c, (340, 182, 640, 199), (10, 80), part=0)
    hscroll(sk, c, (660, 182, 930, 199), (120, 220), part=5, pressed=True)
    # Track bars, up-down.
    trackbar(sk, c, 340, 212, 260, 90)
    trackbar(sk, c, 640, 212, 200, 150)
    trackbar(sk, c, 880, 206, 84, 30, vertical=True)
    d.rectangle((340, 256, 420, 278), fill=(255, 255, 255), outline=sk.colour("ButtonShadow"))
    text(d, (346, 267), "25", anchor="lm")
    updown(sk, c, 402, 257, (4, 1))
    updown(sk, c, 440, 257, (1, 2))
    updown(sk, c, 478, 257, (3, 3))
    # Menu bar with a hot item.
    mb = load(sk.ini.get("Personality", "menuBar"))
    bar = nine(frame_of(mb, 2, 1, True), 300, 20, (2, 0, 2, 0))
    c.paste(bar, (16, 210))
    xx = 16 + 6
    for i, name in enumerate(("文件(F)", "编辑(E)", "帮助(H)")):
        w = int(ImageFont.truetype(FONT, 12).getlength(name)) + 10
        if i == 1:
            d.rectangle((xx, 210, xx + w, 228), outline=sk.colour("ButtonHilight"))
        text(d, (xx + w // 2, 219), name, anchor="mm")
        xx += w
    mdi = load(sk.ini.get("MDICONTROLS", "Image"))
    a = mdi.width // 12
    for i in range(3):
        fr = mdi.crop((4 * a * i, 0, 4 * a * (i + 1), mdi.height))
        put(c, frame_of(fr, 4, 4 if i == 2 else 1), 16 + 300 - (a + 4) * (3 - i) - 2, 213)
    # Status bar with panels.
    sk.element(c, "StatusBarEdges", "Image", 3, 1, (16, 250, 170, 270), transparent=False)
    sk.element(c, "StatusBarEdges", "Image", 3, 1, (170, 250, 316, 270), transparent=False)
    text(d, (20, 260), "就绪", anchor="lm", fill=(92, 108, 128))
    text(d, (174, 260), "共 6 个文件", anchor="lm", fill=(92, 108, 128))
    return c


def render(out):
    sk = Skin()
    mw = main_window(sk)
    pw = progress_window(sk)
    mn = menu(sk)
    sb = states_board(sk)
    sheet = Image.new("RGB", (mw.width + 40, mw.height + pw.height + sb.height + 110), (92, 104, 120))
    sheet.paste(sb, (20, mw.height + pw.height + 80))
    put(sheet, mw, 20, 20)
    sheet.paste(pw, (20, mw.height + 50))
    sheet.paste(mn, (20 + pw.width + 40, mw.height + 50))
    # Inactive frame sample.
    ina = Image.new("RGB", (200, 90), KEY)
    ImageDraw.Draw(ina).rectangle((5, 30, 194, 84), fill=sk.face)
    window_frame(sk, ina, 200, 90, "提示", active=False, icon=False)
    text(ImageDraw.Draw(ina), (20, 52), "还没有设置转换目录")
    put(sheet, ina, 20 + pw.width + 40 + mn.width + 40, mw.height + 50)
    os.makedirs(os.path.dirname(out), exist_ok=True)
    sheet.save(out, optimize=True)
    return out


if __name__ == "__main__":
    print(render(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "docs", "skin-preview.png")))
