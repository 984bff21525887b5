#!/usr/bin/python3
"""Draws the second skin, Velmo Ember: resources/skin-ember/skin.ini and its BMP files.

    /usr/bin/python3 scripts/art/skin-ember.py

It is our skin's drawing code run with other geometry and warm colours (red and blue
swapped, which keeps the magenta key), then cut and laid out differently, so that it
differs from ours in every choice the skin engine reads: caption buttons at the left in
another order with a help and an application button at the right, three-frame caption
buttons, four-frame check and radio boxes, a lower title, thinner borders, centred title
text, another font size and margins, and no tab images (tabs stay the system's).
"""

import importlib
import os
import re

from PIL import Image, ImageDraw

import artlib

OUT = "resources/skin-ember"
TITLE_H, BORDER, CAP_W, CAP_H = 26, 4, 22, 18


def warm(c):
    return (c[2], c[1], c[0])


base = importlib.import_module("skin")
ini_base = importlib.import_module("skin_ini")
# The pictures and the INI colours are ours turned warm as a whole; the close button's red
# is drawn blue so that it comes out red.
base.CLOSE_RED = warm(base.CLOSE_RED)
base.TITLE_H, base.BORDER, base.RADIUS_TOP, base.RADIUS_BOTTOM = TITLE_H, BORDER, 4, 2
base.CAP_W, base.CAP_H, base.CAP_Y = CAP_W, CAP_H, (TITLE_H - CAP_H) // 2


def swap_channels(img):
    r, g, b = img.split()
    return Image.merge("RGB", (b, g, r))


def frames_of(strip_img, count, pick):
    w, h = strip_img.size[0] // count, strip_img.size[1]
    out = Image.new("RGB", (w * len(pick), h))
    for i, k in enumerate(pick):
        out.paste(strip_img.crop(((k - 1) * w, 0, k * w, h)), (i * w, 0))
    return out


def caption(kind):
    """Three frames (normal, pressed, hot) of our caption button drawing; help and the
    application's button get a glyph of their own."""
    img = frames_of(base.caption_button(kind), 4, [1, 2, 3])
    if kind in ("help", "pin"):
        d = ImageDraw.Draw(img)
        for f in range(3):
            cx, cy = f * CAP_W + CAP_W // 2, CAP_H // 2
            if kind == "help":
                d.arc((cx - 4, cy - 6, cx + 3, cy + 1), 180, 90, fill=(255, 255, 255))
                d.line((cx, cy + 1, cx, cy + 2), fill=(255, 255, 255))
                d.point((cx, cy + 5), fill=(255, 255, 255))
            else:
                d.ellipse((cx - 3, cy - 3, cx + 3, cy + 3), outline=(255, 255, 255))
                d.point((cx, cy), fill=(255, 255, 255))
    return img


def build():
    files = base.build()
    for name in ("tabs.bmp", "tabpane.bmp"):
        del files[name]
    for kind in ("close", "max", "min", "restore", "help", "pin"):
        files["caption-%s.bmp" % kind] = caption(kind)
    # Four-frame boxes: unchecked, checked, unchecked disabled, checked disabled.
    files["checkbox.bmp"] = frames_of(files["checkbox.bmp"], 12, [1, 5, 4, 8])
    files["radiobutton.bmp"] = frames_of(files["radiobutton.bmp"], 8, [1, 5, 4, 8])
    return {name: swap_channels(img) for name, img in files.items()}


def set_key(ini, section, key, value):
    """The INI text with section's key set (added when missing); None removes it."""
    head = re.search(r"^\[%s\]\r?\n" % re.escape(section), ini, re.M)
    if not head:
        return ini if value is None else ini + "\n[%s]\n%s=%s\n" % (section, key, value)
    nxt = re.search(r"^\[", ini[head.end():], re.M)
    end = head.end() + (nxt.start() if nxt else len(ini) - head.end())
    body = ini[head.end():end]
    line = re.search(r"^%s=.*\n" % re.escape(key), body, re.M)
    new = "" if value is None else "%s=%s\n" % (key, value)
    body = body[:line.start()] + new + body[line.end():] if line else new + body
    return ini[:head.end()] + body + ini[end:]


def drop_section(ini, section):
    head = re.search(r"^\[%s\]\r?\n" % re.escape(section), ini, re.M)
    if not head:
        return ini
    nxt = re.search(r"^\[", ini[head.end():], re.M)
    end = head.end() + (nxt.start() if nxt else len(ini) - head.end())
    return ini[:head.start()] + ini[end:]


# Caption buttons: close, minimise, maximise/restore from the left; help and the
# application's own button (Action 5) from the right.
BUTTONS = [
    dict(Action=0, Align=0, XCoord=8, Visibility=0, Visibility1=0, image="close"),
    dict(Action=2, Align=0, XCoord=32, Visibility=6, Visibility1=0, image="min"),
    dict(Action=1, Align=0, XCoord=56, Visibility=2, Visibility1=6, image="max"),
    dict(Action=1, Align=0, XCoord=56, Visibility=1, Visibility1=6, image="restore"),
    dict(Action=4, Align=1, XCoord=30, Visibility=0, Visibility1=0, image="help"),
    dict(Action=5, Align=1, XCoord=54, Visibility=0, Visibility1=0, image="pin"),
]


def ini_text():
    ini = ini_base.ini_text()
    ini = re.sub(r"^(\w+=)(\d+) (\d+) (\d+)$", r"\1\4 \3 \2", ini, flags=re.M)
    ini = re.sub(r"=0x00(..)(..)(..)$", r"=0x00\3\2\1", ini, flags=re.M)
    ini = ini.replace("; Velmo calm blue: the skin shipped inside the main window.",
                      "; Velmo Ember: the second skin, loaded as a skin file.")
    ini = set_key(ini, "TitlebarSkin", "SkinName", "Velmo Ember")
    for side in ("Left", "Right"):
        ini = set_key(ini, "Personality", side + "TopHeight", TITLE_H)
        ini = set_key(ini, "Personality", side + "BotHeight", BORDER)
    for key, value in (("TextShift", 0), ("TextRightClip", 70), ("TextAlignment", 1),
                       ("TXTBackleft", 6), ("TXTBackRight", 6), ("TopTopHeight", 3),
                       ("TopBotHeight", 3), ("TileLeftMenu", 3), ("TileRightMenu", 3)):
        ini = set_key(ini, "Personality", key, value)
    ini = set_key(ini, "Fonts", "FontHeight", 16)
    ini = re.sub(r"\n; Caption buttons.*?(?=\n; Buttons of a maximised)", "\n", ini, flags=re.S)
    caption_text = "; Caption buttons, %d x %d, 3 frames: normal, pressed, hot.\n" % (CAP_W, CAP_H)
    for i, b in enumerate(BUTTONS):
        caption_text += "[Button%d]\n" % i
        for key in ("Action", "Align", "XCoord"):
            caption_text += "%s=%d\n" % (key, b[key])
        caption_text += "YCoord=%d\nVisibility=%d\nVisibility1=%d\nCombineOp=-1\nframe=3\n" % (
            (TITLE_H - CAP_H) // 2, b["Visibility"], b["Visibility1"])
        caption_text += "ButtonImage=caption-%s.bmp\n\n" % b["image"]
    ini = ini.replace("\n; Buttons of a maximised", "\n" + caption_text + "; Buttons of a maximised", 1)
    ini = ini.replace("; Check box: 12 frames of 13 x 13 (unchecked, checked, mixed; each normal, hot, pressed, disabled).\n"
                      "; Radio button: 8 frames of 13 x 13 (unchecked, checked; each normal, hot, pressed, disabled).",
                      "; Check box and radio button: 4 frames of 13 x 13 (unchecked, checked, unchecked\n"
                      "; disabled, checked disabled).")
    ini = set_key(ini, "Buttons", "CheckButtonFrame", 4)
    ini = set_key(ini, "Buttons", "RadioButtonFrame", 4)
    for key, value in (("LeftWidth", 6), ("RightWidth", 6), ("TopHeight", 6), ("BottomHeight", 6)):
        ini = set_key(ini, "Buttons", key, value)
    for key, value in (("LeftWidth", 2), ("RightWidth", 2), ("TopHeight", 2), ("BottomHeight", 2)):
        ini = set_key(ini, "MenuItem", key, value)
    ini = re.sub(r"\n; Tabs:.*?(?=\n; Status bar)", "\n", ini, flags=re.S)
    ini = drop_section(drop_section(ini, "Tabs"), "Tab.Pane")
    return ini


def main():
    files = build()
    os.makedirs(os.path.join(artlib.ROOT, OUT), exist_ok=True)
    for name, img in sorted(files.items()):
        artlib.save_bmp(img, os.path.join(OUT, name))
    with open(os.path.join(artlib.ROOT, OUT, "skin.ini"), "wb") as f:
        f.write(ini_text().replace("\r\n", "\n").replace("\n", "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
