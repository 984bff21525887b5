#!/usr/bin/python3
"""Renders every image of a skin with its frames marked into one PNG.

    /usr/bin/python3 scripts/art/contact-sheet.py [skin folder] [output.png]

Defaults: resources/skin and docs/skin-contact-sheet.png. Frame counts and strip
directions follow the skin reader's rules (fixed counts per record, the keys
Frame, FrameCount, LeftFrame ... for the rest), so the sheet shows the skin the
way the painters will cut it. Magenta (the key colour) is shown as a grey
checkerboard; red lines divide frames, thin blue lines mark the fixed margins.
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
KEY = (255, 0, 255)


class Ini:
    """Just enough of the skin's INI rules: trimmed lines, ';' comments, case-blind
    section and key names, the first key in a section wins, empty means default."""

    def __init__(self, text):
        self.order, self.sections = [], {}
        current = None
        for raw in text.replace("\r\n", "\n").replace("\r", "\n").split("\n"):
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                current = line[1:-1]
                self.order.append(current)
                self.sections.setdefault(current.lower(), {})
                continue
            if current is None or "=" not in line:
                continue
            key, value = line.split("=", 1)
            self.sections[current.lower()].setdefault(key.strip().lower(), value.strip())

    def get(self, section, key, default=""):
        v = self.sections.get(section.lower(), {}).get(key.lower(), "")
        return v if v else default

    def int(self, section, key, default=0):
        v = self.get(section, key)
        if len(v) > 2 and v[:2].lower() == "0x":
            v = "$" + v[2:]
        try:
            return int(v[1:], 16) if v.startswith("$") else int(v)
        except ValueError:
            return default


FIXED = {
    "groupboxedge": 2, "groupbox": 1, "tabs": 5, "statusbaredges": 3, "tab.pane": 1, "toolbars": 5,
    "combobutton": 4, "sunkedge": 4, "extraimages": 5, "menuitem": 5, "menubackground": 1,
    "scrollbar": 23, "horzscroll": 4, "vertscroll": 4, "updown.horz": 8, "updown.vert": 8,
}


def entries(ini):
    """(label, file, frame count, vertical, margins L T R B)."""
    out = []

    def margins(sec):
        return tuple(ini.int(sec, k) for k in ("LeftWidth", "TopHeight", "RightWidth", "BottomHeight"))

    for edge in ("Left", "Right", "Top", "Bottom"):
        f = ini.get("Personality", edge)
        if f:
            a, b = ini.int("Personality", edge + "TopHeight"), ini.int("Personality", edge + "BotHeight")
            m = (0, a, 0, b) if edge in ("Left", "Right") else (a, 0, b, 0)
            out.append(("Personality." + edge, f, max(1, ini.int("Personality", edge + "Frame", 1)), edge in ("Top", "Bottom"), m))
    if ini.get("Personality", "TextBack"):
        out.append(("Personality.TextBack", ini.get("Personality", "TextBack"), 2, True,
                    (ini.int("Personality", "TXTBackleft"), 0, ini.int("Personality", "TXTBackRight"), 0)))
    if ini.get("Personality", "menuBar"):
        out.append(("Personality.menuBar", ini.get("Personality", "menuBar"), 2, True,
                    (ini.int("Personality", "TileLeftMenu", 1), 0, ini.int("Personality", "TileRightMenu", 1), 0)))
    for sec in ini.order:
        up = sec.upper()
        if up.startswith("BUTTON") and up not in ("BUTTON", "BUTTONS", "BUTTON.RADIO", "BUTTON.CHECKBOX"):
            f = ini.get(sec, "ButtonImage")
            if f:
                out.append((sec + ".ButtonImage", f, ini.int(sec, "frame") or 6, False, (0, 0, 0, 0)))
    if ini.get("MDICONTROLS", "Image"):
        out.append(("MDICONTROLS.Image", ini.get("MDICONTROLS", "Image"), 12, False, (0, 0, 0, 0)))
    b = "Buttons"
    if ini.get(b, "Bitmap"):
        out.append(("Buttons.Bitmap", ini.get(b, "Bitmap"), 5, False, margins(b)))
    for key, fkey in (("CheckButton", "CheckButtonFrame"), ("RadioButton", "RadioButtonFrame")):
        if ini.get(b, key):
            out.append(("Buttons." + key, ini.get(b, key), ini.int(b, fkey), False, (0, 0, 0, 0)))
    if ini.get("Progress", "Bitmap"):
        out.append(("Progress.Bitmap", ini.get("Progress", "Bitmap"), 1 if ini.int("Progress", "Style") else 2, False, margins("Progress")))
    for sec in ini.order:
        low = sec.lower()
        img = ini.get(sec, "Image")
        if not img or low in ("mdicontrols",):
            continue
        if low in FIXED:
            n = FIXED[low]
        elif low == "headerbar":
            n = ini.int(sec, "Frame") or 5
        elif low in ("horzscrollthumb", "vertscrollthumb"):
            n = ini.int(sec, "FrameCount", 3)
        elif low.startswith("trackbar.thumb"):
            n = 5
        else:
            n = max(1, ini.int(sec, "Frame", 1))
        out.append((sec + ".Image", img, n, False, margins(sec)))
        for second in ("Border", "GlyphImage"):
            if ini.get(sec, second):
                out.append((sec + "." + second, ini.get(sec, second), 1 if second == "Border" else n, False,
                            margins(sec) if second == "Border" else (0, 0, 0, 0)))
    return out


def problems(skin_dir, items):
    """What a painter would trip over: missing or non-24-bit files, names the reader
    will not load, strips that do not divide into their frames, margins wider than
    a frame, and pictures no key names."""
    found = []
    on_disk = {f.lower(): f for f in os.listdir(skin_dir)}
    used = set()
    for label, name, n, vertical, m in items:
        base = os.path.basename(name.replace("\\", "/"))
        if os.path.splitext(base)[1] != ".bmp":
            found.append("%s: %s does not end in .bmp, the reader loads nothing" % (label, name))
            continue
        real = on_disk.get(base.lower())
        if not real:
            found.append("%s: %s is missing" % (label, name))
            continue
        used.add(real)
        with open(os.path.join(skin_dir, real), "rb") as f:
            head = f.read(30)
        if head[:2] != b"BM" or head[28] != 24:
            found.append("%s: %s is not a 24-bit BMP" % (label, real))
        img = Image.open(os.path.join(skin_dir, real))
        side = img.height if vertical else img.width
        if n < 1 or side % n:
            found.append("%s: %d px do not divide into %d frames" % (label, side, n))
            continue
        fw, fh = (img.width, img.height // n) if vertical else (img.width // n, img.height)
        L, T, R, B = m
        if L + R > fw or T + B > fh:
            found.append("%s: margins %s exceed the %d x %d frame" % (label, m, fw, fh))
        if label.lower().startswith("tab.pane") and max(m) > 4:
            found.append("%s: pane margins above 4 are cut to 4" % label)
    for f in sorted(on_disk.values()):
        if f.lower().endswith(".bmp") and f not in used:
            found.append("%s is not named by any key" % f)
    return found


def checker(w, h, cell=4):
    im = Image.new("RGB", (w, h), (176, 176, 180))
    d = ImageDraw.Draw(im)
    for y in range(0, h, cell):
        for x in range(0, w, cell):
            if (x // cell + y // cell) % 2:
                d.rectangle((x, y, x + cell - 1, y + cell - 1), fill=(150, 150, 156))
    return im


def show(img, scale):
    """The image enlarged with its key pixels over a checkerboard."""
    big = img.convert("RGB").resize((img.width * scale, img.height * scale), Image.NEAREST)
    mask = Image.new("L", img.size, 0)
    src, mp = img.convert("RGB").load(), mask.load()
    for y in range(img.height):
        for x in range(img.width):
            if src[x, y] != KEY:
                mp[x, y] = 255
    base = checker(big.width, big.height, max(2, scale * 2))
    base.paste(big, (0, 0), mask.resize(big.size, Image.NEAREST))
    return base


def render(skin_dir, out_path):
    with open(os.path.join(skin_dir, "skin.ini"), "rb") as f:
        ini = Ini(f.read().decode("latin-1"))
    items = entries(ini)
    font, small = ImageFont.truetype(FONT, 14), ImageFont.truetype(FONT, 11)
    blocks = []
    for label, name, n, vertical, m in items:
        path = os.path.join(skin_dir, os.path.basename(name.replace("\\", "/")))
        try:
            img = Image.open(path)
            img.load()
        except OSError:
            continue  # reported by problems()
        # Thin strips get enlarged more; nothing grows wider than the sheet.
        scale = max(2, min(6, 720 // img.width, 480 // img.height))
        pic = show(img, scale)
        d = ImageDraw.Draw(pic)
        fw = img.width // n if not vertical else img.width
        fh = img.height // n if vertical else img.height
        for k in range(n):
            x0, y0 = (0, k * fh) if vertical else (k * fw, 0)
            L, T, R, B = m
            blue = (40, 110, 255)
            for xx in (L, fw - R):
                if 0 < xx < fw:
                    d.line(((x0 + xx) * scale, y0 * scale, (x0 + xx) * scale, (y0 + fh) * scale - 1), fill=blue)
            for yy in (T, fh - B):
                if 0 < yy < fh:
                    d.line((x0 * scale, (y0 + yy) * scale, (x0 + fw) * scale - 1, (y0 + yy) * scale), fill=blue)
            if k:
                if vertical:
                    d.line((0, y0 * scale, pic.width, y0 * scale), fill=(230, 0, 0), width=2)
                else:
                    d.line((x0 * scale, 0, x0 * scale, pic.height), fill=(230, 0, 0), width=2)
        # Frame numbers under (or beside) the strip.
        lab_h = 16
        rem = (img.width % n) if not vertical else (img.height % n)
        title = "%s = %s" % (label, name)
        facts = "%d x %d, %d frame%s of %d x %d%s, margins %d %d %d %d" % (
            img.width, img.height, n, "" if n == 1 else "s", fw, fh, " stacked" if vertical and n > 1 else "", *m)
        if rem:
            facts += "  (%d px left over!)" % rem
        text_w = int(max(font.getlength(title), small.getlength(facts)))
        block = Image.new("RGB", (max(pic.width + (24 if vertical else 0), text_w + 8), pic.height + lab_h + 38), (255, 255, 255))
        bd = ImageDraw.Draw(block)
        bd.text((0, 18), facts, font=small, fill=(90, 100, 120))
        bd.text((0, 0), title, font=font, fill=(20, 30, 50))
        top = 36
        block.paste(pic, (0, top))
        for k in range(n):
            if vertical:
                bd.text((pic.width + 4, top + k * fh * scale + 2), str(k + 1), font=small, fill=(200, 0, 0))
            else:
                bd.text((k * fw * scale + 2, top + pic.height + 1), str(k + 1), font=small, fill=(200, 0, 0))
        blocks.append(block)
    # Flow the blocks into rows.
    width = 1500
    rows, row, x = [], [], 0
    for b in blocks:
        if x + b.width > width and row:
            rows.append(row)
            row, x = [], 0
        row.append(b)
        x += b.width + 24
    rows.append(row)
    head = 40
    height = head + sum(max(b.height for b in r) + 18 for r in rows)
    sheet = Image.new("RGB", (width, height), (255, 255, 255))
    sd = ImageDraw.Draw(sheet)
    sd.text((0, 6), "%s: %d images, %s" % (ini.get("TitlebarSkin", "SkinName", "skin"), len(items),
                                            "red lines divide frames, blue lines mark fixed margins, grey checks are the key colour"),
            font=ImageFont.truetype(FONT, 18), fill=(20, 30, 50))
    y = head
    for r in rows:
        x = 0
        for b in r:
            sheet.paste(b, (x, y))
            x += b.width + 24
        y += max(b.height for b in r) + 18
    os.makedirs(os.path.dirname(out_path), exist_ok=True)
    sheet.save(out_path, optimize=True)
    return out_path, len(items)


def main():
    skin_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources", "skin")
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "docs", "skin-contact-sheet.png")
    with open(os.path.join(skin_dir, "skin.ini"), "rb") as f:
        found = problems(skin_dir, entries(Ini(f.read().decode("latin-1"))))
    path, n = render(skin_dir, out)
    print("%s: %d images" % (path, n))
    for p in found:
        print("problem: " + p)
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
