#!/usr/bin/python3
"""Draws the media-player panel's button glyphs.

    /usr/bin/python3 scripts/art/mediaplayer.py

Writes resources/images/mediaplayer/<state>_<button>.bmp: 16 x 16 on the magenta key, for
the nine buttons in their three looks: MPEN (enabled), MPDI (disabled), MPCO (coloured).
skin/controls/MediaPlayerBitmaps.rc names them as resources of the same names.
"""

from artlib import *  # noqa: F401,F403

S = SS
SIZE = 16


def P(*v):
    return [int(round(x * S)) for x in v]


def box(x0, y0, x1, y1):
    """A rectangle covering whole pixels x0..x1 and y0..y1 (PIL's rectangles include their
    end coordinate)."""
    return [x0 * S, y0 * S, x1 * S - 1, y1 * S - 1]


def triangle_right(d, x, ink, w=7.0):
    d.polygon(P(x, 3, x, 13, x + w, 8), fill=rgba(ink))


def triangle_left(d, x, ink, w=7.0):
    d.polygon(P(x, 3, x, 13, x - w, 8), fill=rgba(ink))


def bar(d, x, ink):
    d.rectangle(box(x, 3, x + 2, 13), fill=rgba(ink))


def play(d, ink):
    triangle_right(d, 5, ink, 8)


def pause(d, ink):
    bar(d, 4, ink)
    bar(d, 10, ink)


def stop(d, ink):
    d.rectangle(box(4, 4, 12, 12), fill=rgba(ink))


def next_(d, ink):
    triangle_right(d, 3, ink)
    bar(d, 11, ink)


def prev(d, ink):
    bar(d, 3, ink)
    triangle_left(d, 13, ink)


def step(d, ink):
    bar(d, 3, ink)
    triangle_right(d, 7, ink, 6)


def back(d, ink):
    triangle_left(d, 9, ink, 6)
    bar(d, 11, ink)


def record(d, ink):
    d.ellipse(P(3.5, 3.5, 12.5, 12.5), fill=rgba(ink))


def eject(d, ink):
    d.polygon(P(2.5, 9, 13.5, 9, 8, 3), fill=rgba(ink))
    d.rectangle(box(3, 11, 13, 13), fill=rgba(ink))


# In the player's order; the colour of each in its coloured look.
BUTTONS = (
    ("PLAY", play, GREEN),
    ("PAUSE", pause, ACCENT),
    ("STOP", stop, RED),
    ("NEXT", next_, ACCENT),
    ("PREV", prev, ACCENT),
    ("STEP", step, ACCENT),
    ("BACK", back, ACCENT),
    ("RECORD", record, RED),
    ("EJECT", eject, AMBER),
)
LOOKS = (("MPEN", None), ("MPDI", DISABLED), ("MPCO", "own"))
GLYPH_INK = (60, 86, 124)


def glyph(fn, ink):
    layer, d = canvas(SIZE, SIZE, S)
    fn(d, ink)
    return keyed(down(layer, SIZE, SIZE), FACE)


def main():
    for name, fn, colour in BUTTONS:
        for look, ink in LOOKS:
            ink = GLYPH_INK if ink is None else colour if ink == "own" else ink
            save_bmp(glyph(fn, ink), "resources/images/mediaplayer/%s_%s.bmp" % (look, name))


if __name__ == "__main__":
    main()
