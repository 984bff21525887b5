#include "skin/data/ElementDrawing.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace skin {

namespace {

// Sides of a rectangle, -1 for a reversed one; a side that does not fit an int (a rectangle
// no window or bitmap has) counts as reversed too.
int Side(LONG from, LONG to) {
  const long long side = static_cast<long long>(to) - from;
  return side < 0 || side > INT_MAX ? -1 : static_cast<int>(side);
}
int Width(const RECT& r) { return Side(r.left, r.right); }
int Height(const RECT& r) { return Side(r.top, r.bottom); }

// StretchBlt of one piece, skipped when either side has no area.
void Piece(HDC to, int x, int y, int w, int h, HDC from, int sx, int sy, int sw, int sh) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  StretchBlt(to, x, y, w, h, from, sx, sy, sw, sh, SRCCOPY);
}

void CopyOut(HDC dc, const RECT& target, const ui::Bitmap& image, bool transparent) {
  if (image.Empty()) return;
  if (transparent) {
    DrawTransparent(dc, target, image);
    return;
  }
  ui::Bitmap::Canvas canvas(image);
  BitBlt(dc, target.left, target.top, image.Width(), image.Height(), canvas.dc(), 0, 0, SRCCOPY);
}

// TileBitmap for a bitmap that is already selected into `from`.
void TileFrom(HDC dc, const RECT& target, HDC from, const RECT& source) {
  const int sw = Width(source), sh = Height(source);
  if (sw <= 0 || sh <= 0) return;
  ui::Bitmap work(sw, sh);
  ui::Bitmap::Canvas to(work);
  BitBlt(to.dc(), 0, 0, sw, sh, from, source.left, source.top, SRCCOPY);
  for (int y = target.top; y < target.bottom; y += sh) {
    for (int x = target.left; x < target.right; x += sw) {
      BitBlt(dc, x, y, std::min<int>(sw, target.right - x), std::min<int>(sh, target.bottom - y),
             to.dc(), 0, 0, SRCCOPY);
    }
  }
}

}  // namespace

RECT FrameRect(const ui::Bitmap& strip, StripFrame frame) {
  const int count = std::max(frame.count, 1);
  const int index = std::clamp(frame.index, 1, count);
  if (frame.vertical) {
    const int h = strip.Height() / count;
    return {0, (index - 1) * h, strip.Width(), index * h};
  }
  const int w = strip.Width() / count;
  return {(index - 1) * w, 0, index * w, strip.Height()};
}

namespace {

// The element's nine pieces onto `d` at `target` (its frame selected into `s`), over what is
// there: pieces of no area are left out.
void DrawPieces(HDC d, const RECT& target, const Element& element, HDC s) {
  const int W = Width(target), H = Height(target);
  const RECT f = FrameRect(*element.strip, element.frame);
  const int x0 = f.left, y0 = f.top, fw = Width(f), fh = Height(f);
  const Margins m = FittedMargins(element.margins, W, H);
  const int l = m.left, t = m.top, r = m.right, b = m.bottom;
  const int X = target.left, Y = target.top;
  const int mode = SetStretchBltMode(d, COLORONCOLOR);
  Piece(d, X, Y, l, t, s, x0, y0, l, t);                           // top-left
  Piece(d, X, Y + H - b, l, b, s, x0, y0 + fh - b, l, b);          // bottom-left
  Piece(d, X + W - r, Y, r, t, s, x0 + fw - r, y0, r, t);          // top-right
  Piece(d, X, Y + t, l, H - t - b, s, x0, y0 + t, l, fh - t - b);  // left
  Piece(d, X + l, Y, W - l - r, t, s, x0 + l, y0, fw - l - r, t);  // top
  if (element.tileMiddle) {
    TileFrom(d, {X + l, Y + t, X + W - r, Y + H - b}, s,
             {x0 + l, y0 + t, x0 + fw - r, y0 + fh - b});
  } else {
    Piece(d, X + l, Y + t, W - l - r, H - t - b, s, x0 + l, y0 + t, fw - l - r, fh - t - b);
  }
  Piece(d, X + W - r, Y + H - b, r, b, s, x0 + fw - r, y0 + fh - b, r, b);          // bottom-right
  Piece(d, X + W - r, Y + t, r, H - t - b, s, x0 + fw - r, y0 + t, r, fh - t - b);  // right
  Piece(d, X + l, Y + H - b, W - l - r, b, s, x0 + l, y0 + fh - b, fw - l - r, b);  // bottom
  SetStretchBltMode(d, mode);
}

}  // namespace

ui::Bitmap RenderElement(const RECT& target, const Element& element) {
  const int W = Width(target), H = Height(target);
  if (W <= 0 || H <= 0) return {};
  ui::Bitmap out(W, H);
  if (!element.strip || element.strip->Empty()) return out;
  ui::Bitmap::Canvas to(out);
  ui::Bitmap::Canvas from(*element.strip);
  DrawPieces(to.dc(), {0, 0, W, H}, element, from.dc());
  return out;
}

void DrawElement(HDC dc, const RECT& target, const Element& element) {
  if (Width(target) < 0 || Height(target) < 0) return;
  if (element.transparent) {
    CopyOut(dc, target, RenderElement(target, element), true);
    return;
  }
  // Opaque: the pieces go straight onto the target, on black where none lands, as they
  // would on a new bitmap. Only what the target's clipping shows is drawn, and no bitmap of
  // the target's size is made (a page control's pane is as large as its window).
  if (Width(target) == 0 || Height(target) == 0) return;
  PatBlt(dc, target.left, target.top, Width(target), Height(target), BLACKNESS);
  if (!element.strip || element.strip->Empty()) return;
  ui::Bitmap::Canvas from(*element.strip);
  DrawPieces(dc, target, element, from.dc());
}

void DrawStrip3(HDC dc, const RECT& target, const Element& element) {
  const int W = Width(target), H = Height(target);
  if (W <= 0 || H <= 0 || !element.strip || element.strip->Empty()) return;
  const RECT f = FrameRect(*element.strip, element.frame);
  const int x0 = f.left, y0 = f.top, fw = Width(f), fh = Height(f);
  const Margins m = ClampedMargins(element.margins);
  const int l = m.left, r = m.right;
  ui::Bitmap out(W, H);
  {
    ui::Bitmap::Canvas to(out);
    ui::Bitmap::Canvas from(*element.strip);
    HDC d = to.dc(), s = from.dc();
    SetStretchBltMode(d, COLORONCOLOR);
    Piece(d, 0, 0, l, H, s, x0, y0, l, fh);
    const int middle = fw - l - r;
    if (middle > 0) {
      for (int x = l; x < W - r; x += middle) Piece(d, x, 0, middle, H, s, x0 + l, y0, middle, fh);
    }
    Piece(d, W - r, 0, r, H, s, x0 + fw - r, y0, r, fh);
  }
  CopyOut(dc, target, out, element.transparent);
}

void DrawFrame(HDC dc, const RECT& target, const ui::Bitmap& strip, bool transparent,
               int frameCount, int frameIndex) {
  const int W = Width(target), H = Height(target);
  if (W <= 0 || H <= 0 || strip.Empty()) return;
  const RECT f = FrameRect(strip, {frameCount, frameIndex, false});
  ui::Bitmap out(W, H);
  {
    ui::Bitmap::Canvas to(out);
    ui::Bitmap::Canvas from(strip);
    SetStretchBltMode(to.dc(), COLORONCOLOR);
    Piece(to.dc(), 0, 0, W, H, from.dc(), f.left, f.top, Width(f), Height(f));
  }
  CopyOut(dc, target, out, transparent);
}

void DrawFrameAtSize(HDC dc, const RECT& target, const ui::Bitmap& strip, bool transparent,
                     int frameWidth, int frameIndex) {
  if (strip.Empty() || frameWidth <= 0) return;
  const int x = std::max(frameIndex - 1, 0) * frameWidth;
  const int w = std::min(frameWidth, strip.Width() - x);
  if (w <= 0) return;
  ui::Bitmap out(w, strip.Height());
  {
    ui::Bitmap::Canvas to(out);
    ui::Bitmap::Canvas from(strip);
    BitBlt(to.dc(), 0, 0, w, strip.Height(), from.dc(), x, 0, SRCCOPY);
  }
  // Only the target's top-left counts: the frame keeps its own size.
  CopyOut(dc, {target.left, target.top, target.left + w, target.top + strip.Height()}, out,
          transparent);
}

void DrawTransparent(HDC dc, const RECT& target, const ui::Bitmap& bitmap, COLORREF key) {
  if (Width(target) < 0 || Height(target) < 0 || bitmap.Empty()) return;
  const int w = bitmap.Width(), h = bitmap.Height();
  // Monochrome mask: 1 where the bitmap has the key colour.
  ui::GdiObject<HBITMAP> mask(CreateBitmap(w, h, 1, 1, nullptr));
  ui::Bitmap::Canvas source(bitmap);
  {
    ui::MemoryDC maskDc;
    ui::SelectObjectGuard select(maskDc.get(), mask.get());
    const COLORREF previous = SetBkColor(source.dc(), key);
    BitBlt(maskDc.get(), 0, 0, w, h, source.dc(), 0, 0, SRCCOPY);
    SetBkColor(source.dc(), previous);
  }
  // Where the mask is set the destination stays; elsewhere the bitmap is copied.
  MaskBlt(dc, target.left, target.top, w, h, source.dc(), 0, 0, mask.get(), 0, 0,
          MAKEROP4(0x00AA0029, SRCCOPY));
}

void TileBitmap(HDC dc, const RECT& target, const ui::Bitmap& bitmap, const RECT& source) {
  if (bitmap.Empty()) return;
  ui::Bitmap::Canvas from(bitmap);
  TileFrom(dc, target, from.dc(), source);
}

ui::GdiObject<HRGN> RegionFromBitmap(const ui::Bitmap& bitmap, POINT offset, KeyTolerance tolerance,
                                     COLORREF key) {
  ui::GdiObject<HRGN> result(CreateRectRgn(0, 0, 0, 0));
  if (bitmap.Empty()) return result;
  const int lowR = GetRValue(key), lowG = GetGValue(key), lowB = GetBValue(key);
  const int highR = std::min(lowR + tolerance.red, 255);
  const int highG = std::min(lowG + tolerance.green, 255);
  const int highB = std::min(lowB + tolerance.blue, 255);
  auto isKey = [&](std::uint32_t p) {  // p is 0x00RRGGBB
    const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
    return r >= lowR && r <= highR && g >= lowG && g <= highG && b >= lowB && b <= highB;
  };

  // ExtCreateRegion takes a bounded number of rectangles at a time: join batches of 2000.
  constexpr std::size_t kBatch = 2000;
  std::vector<RECT> rects;
  rects.reserve(500);
  auto flush = [&] {
    if (rects.empty()) return;
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(rects.size());
    header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    RECT bound = rects.front();
    for (const RECT& r : rects) UnionRect(&bound, &bound, &r);
    header->rcBound = bound;
    std::copy(rects.begin(), rects.end(),
              reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
    ui::GdiObject<HRGN> part(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                             reinterpret_cast<const RGNDATA*>(data.data())));
    if (part) CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
    rects.clear();
  };
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint32_t* row = bitmap.Row(y);
    int x = 0;
    while (x < bitmap.Width()) {
      while (x < bitmap.Width() && isKey(row[x])) ++x;
      const int start = x;
      while (x < bitmap.Width() && !isKey(row[x])) ++x;
      if (x > start) {
        rects.push_back({start + offset.x, y + offset.y, x + offset.x, y + offset.y + 1});
        if (rects.size() == kBatch) flush();
      }
    }
  }
  flush();
  return result;
}

}  // namespace skin
