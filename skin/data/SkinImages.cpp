#include "skin/data/SkinImages.h"

#include <algorithm>

namespace skin {

COLORREF ResolveColour(Colour colour) {
  if (IsSystemColourReference(colour)) return GetSysColor(static_cast<int>(colour & 0xFF));
  return colour & 0xFFFFFF;
}

COLORREF MixColors(Colour c1, Colour c2, int weight) {
  return MixRgb(ResolveColour(c1), ResolveColour(c2), weight);
}

void GradientFill(HDC dc, const RECT& rect, Colour c1, bool vertical, Colour c2) {
  static GradientRampCache cache;  // UI thread only
  const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (length <= 0 || rect.right <= rect.left || rect.bottom <= rect.top) return;
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) clip = rect;
  RECT area{};
  if (!IntersectRect(&area, &rect, &clip)) return;
  const auto& ramp = cache.Get(ResolveColour(c1), ResolveColour(c2), length);
  const COLORREF previous = GetBkColor(dc);
  const int first = vertical ? area.top - rect.top : area.left - rect.left;
  const int last = vertical ? area.bottom - rect.top : area.right - rect.left;
  for (int i = first; i < last; ++i) {
    RECT line = area;
    if (vertical) {
      line.top = rect.top + i;
      line.bottom = line.top + 1;
    } else {
      line.left = rect.left + i;
      line.right = line.left + 1;
    }
    // An opaque empty text run is the cheapest solid fill GDI offers.
    SetBkColor(dc, ramp[static_cast<std::size_t>(i)]);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
  }
  SetBkColor(dc, previous);
}

void ReplaceMagenta(ui::Bitmap& bitmap, COLORREF colour) {
  const std::uint32_t key = ui::SwapRedBlue(kKeyColour);
  const std::uint32_t with = ui::SwapRedBlue(colour & 0xFFFFFF);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      if ((row[x] & 0xFFFFFF) == key) row[x] = with;
    }
  }
}

void MirrorHorizontal(ui::Bitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row(y);
    std::reverse(row, row + bitmap.Width());
  }
}

void FlipVertical(ui::Bitmap& bitmap) {
  for (int y = 0; y < bitmap.Height() / 2; ++y) {
    std::swap_ranges(bitmap.Row(y), bitmap.Row(y) + bitmap.Width(),
                     bitmap.Row(bitmap.Height() - 1 - y));
  }
}

void Grayscale(ui::Bitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t mean = ((p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF)) / 3;
      row[x] = mean | mean << 8 | mean << 16;
    }
  }
}

namespace {

void Turn(ui::Bitmap& bitmap, bool clockwise) {
  if (bitmap.Empty()) return;
  const int w = bitmap.Width(), h = bitmap.Height();
  ui::Bitmap turned(h, w);
  std::uint32_t* out = turned.Row(0);  // h pixels per row, w rows
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < w; ++x) {
      if (clockwise) {
        out[static_cast<std::size_t>(x) * h + (h - 1 - y)] = row[x];
      } else {
        out[static_cast<std::size_t>(w - 1 - x) * h + y] = row[x];
      }
    }
  }
  bitmap = std::move(turned);
}

}  // namespace

void Rotate(ui::Bitmap& bitmap) { Turn(bitmap, true); }
void RotateBack(ui::Bitmap& bitmap) { Turn(bitmap, false); }

void CopyBitmap(const ui::Bitmap& source, ui::Bitmap& target) { target = source.Clone(); }

}  // namespace skin
