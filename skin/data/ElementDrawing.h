#pragma once

#include <windows.h>

#include "skin/data/Colours.h"
#include "skin/data/Margins.h"
#include "ui/Bitmap.h"
#include "ui/GdiObject.h"

// Drawing skin images: one frame out of a strip, nine-part and three-part resizing, the
// transparent copy with the key colour, tiling, and window regions. Stateless; everything
// is drawn off-screen and copied to the target in one operation.
namespace skin {

// Which frame of a strip of equal frames: 1-based index, laid side by side or stacked.
struct StripFrame {
  int count = 1;
  int index = 1;
  bool vertical = false;
};

// The frame's rectangle inside the strip. Remainder columns (or rows) beyond count equal
// frames are never part of a frame; a count below 1 counts as 1 and the index is kept
// inside the strip.
RECT FrameRect(const ui::Bitmap& strip, StripFrame frame);

// What an element is drawn from.
struct Element {
  const ui::Bitmap* strip = nullptr;
  Margins margins;
  StripFrame frame;
  bool tileMiddle = false;
  bool transparent = false;
};

// Nine-part resize of the element's frame to the target's size; corners keep their size
// unless the target is narrower (or lower) than both margins together.
ui::Bitmap RenderElement(const RECT& target, const Element& element);
void DrawElement(HDC dc, const RECT& target, const Element& element);
// Three parts across: left and right margins stretched to the height, the middle repeated.
void DrawStrip3(HDC dc, const RECT& target, const Element& element);
// One frame of a horizontal strip stretched to the target.
void DrawFrame(HDC dc, const RECT& target, const ui::Bitmap& strip, bool transparent,
               int frameCount, int frameIndex);
// One frame at its own size at the target's top-left.
void DrawFrameAtSize(HDC dc, const RECT& target, const ui::Bitmap& strip, bool transparent,
                     int frameWidth, int frameIndex);
// Copies the bitmap to the target's top-left, leaving out pixels of the key colour.
void DrawTransparent(HDC dc, const RECT& target, const ui::Bitmap& bitmap,
                     COLORREF key = kKeyColour);
// Fills the target with copies of the source part; the last copies are cut at its edges.
void TileBitmap(HDC dc, const RECT& target, const ui::Bitmap& bitmap, const RECT& source);

// Per-channel tolerance of RegionFromBitmap: a channel is key when it lies between the key's
// channel and that plus the tolerance.
struct KeyTolerance {
  int blue = 1;
  int green = 1;
  int red = 1;
};
// A region of every non-key pixel, moved by the offset.
ui::GdiObject<HRGN> RegionFromBitmap(const ui::Bitmap& bitmap, POINT offset = {0, 0},
                                     KeyTolerance tolerance = {}, COLORREF key = kKeyColour);

}  // namespace skin
