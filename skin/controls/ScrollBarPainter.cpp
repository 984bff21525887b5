#include "skin/controls/ScrollBarPainter.h"

#include <algorithm>
#include <cstdlib>

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinRecords.h"
#include "ui/GdiObject.h"

namespace {

// Frames of the Scrollbar image: normal, pressed and hot of each arrow and grip.
struct PartFrames {
  int normal, pressed, hot;
};
constexpr PartFrames kLeft{1, 2, 4}, kRight{5, 6, 8}, kUp{9, 10, 12}, kDown{13, 14, 16};
constexpr PartFrames kHorzGrip{17, 18, 19}, kVertGrip{20, 21, 22};
constexpr int kScrollbarFrames = 23;

// Along-the-axis and across coordinates into a rectangle of the bar.
RECT Span(const ScrollBarLook& look, int from, int to, int across) {
  return look.vertical ? RECT{0, from, across, to} : RECT{from, 0, to, across};
}

void Compose(HDC dc, const SkinRecords& records, const ScrollBarLook& look,
             const TDataSkinObject& image) {
  const int length = look.Length();
  const int A = look.arrow;
  // The image's own thickness, unless it is far from the system's.
  int thickness = image.Bitmap.Height();
  if (std::abs(thickness - A) > 2) thickness = A;
  SetStretchBltMode(dc, COLORONCOLOR);
  {
    ui::GdiObject<HBRUSH> face(CreateSolidBrush(skin::ResolveColour(records.Colours.ButtonFace)));
    RECT all{0, 0, look.size.cx, look.size.cy};
    FillRect(dc, &all, face.get());
  }

  // Track between the arrows.
  const TDataSkinObject* track =
      look.vertical ? records.VertScroll.get() : records.HorzScroll.get();
  if (track && !track->Bitmap.Empty()) {
    skin::Element element{&track->Bitmap,
                          track->Margins,
                          {4, look.disabled ? 3 : 1, false},
                          track->Tile != 0,
                          track->Trans != 0};
    skin::DrawElement(dc, Span(look, A, length - A, thickness), element);
  }

  // Arrows at both ends; a bar shorter than two arrows gives each half of it.
  const int arrowLength = length < 2 * A ? length / 2 : A;
  auto frameOf = [&](const PartFrames& frames, int part) {
    if (look.part != part) return frames.normal;
    return look.pressed ? frames.pressed : frames.hot;
  };
  const PartFrames& first = look.vertical ? kUp : kLeft;
  const PartFrames& second = look.vertical ? kDown : kRight;
  skin::DrawFrame(dc, Span(look, 0, arrowLength, thickness), image.Bitmap, true, kScrollbarFrames,
                  frameOf(first, ScrollBarLook::kFirstArrow));
  skin::DrawFrame(dc, Span(look, length - arrowLength, length, thickness), image.Bitmap, true,
                  kScrollbarFrames, frameOf(second, ScrollBarLook::kSecondArrow));

  // Thumb, with its grip when it is long enough for one.
  const int thumbLength = look.thumbEnd - look.thumbStart;
  const TDataSkinObject* thumb =
      look.vertical ? records.VertScrollThumb.get() : records.HorzScrollThumb.get();
  // Only on the track: a bar too short for one has no room for a thumb.
  if (!look.disabled && thumbLength > 0 && look.thumbStart >= arrowLength &&
      look.thumbEnd <= length - arrowLength) {
    if (thumb && !thumb->Bitmap.Empty()) {
      const int frame = look.part != ScrollBarLook::kThumb ? 1 : look.pressed ? 2 : 3;
      skin::Element element{&thumb->Bitmap,
                            thumb->Margins,
                            {thumb->FrameCount, frame, false},
                            false,
                            thumb->Trans != 0};
      skin::DrawElement(dc, Span(look, look.thumbStart, look.thumbEnd, thickness), element);
    }
    const int grip = image.Bitmap.Height();
    if (thumbLength > grip - 2) {
      const int from = look.thumbStart + (thumbLength - grip) / 2;
      skin::DrawFrame(dc, Span(look, from, from + grip, thickness), image.Bitmap, true,
                      kScrollbarFrames,
                      frameOf(look.vertical ? kVertGrip : kHorzGrip, ScrollBarLook::kThumb));
    }
  }
}

}  // namespace

int ScrollBarLook::HitTest(int along) const {
  if (along < arrow) return kFirstArrow;
  if (along < thumbStart) return kPageBefore;
  if (along < thumbEnd) return kThumb;
  if (along < Length() - arrow) return kPageAfter;
  return kSecondArrow;
}

ui::Bitmap PaintScrollBar(const SkinRecords& records, const ScrollBarLook& look) {
  const TDataSkinObject* image = records.Scrollbar.get();
  if (!image || image->Bitmap.Empty() || look.size.cx <= 0 || look.size.cy <= 0) return {};
  try {
    ui::Bitmap bar(look.size.cx, look.size.cy);
    if (bar.Empty()) return {};
    {
      ui::Bitmap::Canvas canvas(bar);
      Compose(canvas.dc(), records, look, *image);
    }
    return bar;
  } catch (...) {
    return {};  // GDI ran out: the bar is drawn plainly
  }
}
