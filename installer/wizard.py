#!/usr/bin/python3
"""Draws the picture on the left of the setup's and the uninstaller's first and last pages.

    /usr/bin/python3 installer/wizard.py

Writes installer/wizard.bmp (164 x 314, 24-bit, as the pages want it), in the colours of the
main window's banner, with the program's icon and name.
"""

import os
import sys

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scripts", "art"))
from artlib import BANNER_BOTTOM, BANNER_TOP, ROOT, font, mix, vgradient  # noqa: E402

W, H = 164, 314


def main():
    img = vgradient(W, H, BANNER_TOP, BANNER_BOTTOM).convert("RGB")
    draw = ImageDraw.Draw(img)
    # A few soft arcs, as the banner's light lines.
    for i, (y, alpha) in enumerate(((210, 0.18), (232, 0.12), (258, 0.08))):
        colour = mix(BANNER_BOTTOM, (255, 255, 255), alpha)
        draw.arc((-120, y - 60, W + 140, y + 90 + i * 12), 190, 340, fill=colour, width=2)
    icon = Image.open(os.path.join(ROOT, "resources", "images", "app.ico"))
    icon.size = (48, 48)
    icon = icon.convert("RGBA")
    img.paste(icon, ((W - 48) // 2, 44), icon)
    name = font(22)
    text = "Velmo转换"
    width = draw.textlength(text, font=name)
    draw.text(((W - width) / 2, 104), text, font=name, fill=(255, 255, 255))
    line = font(12)
    motto = "视频格式转换 · 一键完成"
    width = draw.textlength(motto, font=line)
    draw.text(((W - width) / 2, 138), motto, font=line, fill=mix(BANNER_TOP, (255, 255, 255), 0.75))
    img.save(os.path.join(HERE, "wizard.bmp"))


if __name__ == "__main__":
    main()
