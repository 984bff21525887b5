#include "skin/controls/OffscreenFace.h"

#include <cstdint>

#include "ui/GdiObject.h"

OffscreenFace::OffscreenFace(const RECT& rect) : origin_{rect.left, rect.top} {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  // Out of GDI objects there is no face: the control keeps its own painting.
  try {
    bitmap_ = ui::Bitmap(width, height);
  } catch (...) {
    return;
  }
  if (!bitmap_.Empty()) canvas_ = std::make_unique<ui::Bitmap::Canvas>(bitmap_);
}

void OffscreenFace::CopyTo(HDC target) const {
  if (!canvas_) return;
  BitBlt(target, origin_.x, origin_.y, bitmap_.Width(), bitmap_.Height(), canvas_->dc(), 0, 0,
         SRCCOPY);
}

void OffscreenFace::CopyAround(HDC target, HWND window) const {
  const int saved = SaveDC(target);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(target, r.left, r.top, r.right, r.bottom);
  }
  CopyTo(target);
  RestoreDC(target, saved);
}

std::vector<RECT> OffscreenFace::UncoveredParts(HWND window, const RECT& rect) {
  // Beyond a few rectangles the repeated drawing costs more than one face saves.
  constexpr DWORD kMostParts = 32;
  ui::GdiObject<HRGN> uncovered(CreateRectRgnIndirect(&rect));
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    ui::GdiObject<HRGN> covered(CreateRectRgnIndirect(&r));
    CombineRgn(uncovered.get(), uncovered.get(), covered.get(), RGN_DIFF);
  }
  const DWORD size = GetRegionData(uncovered.get(), 0, nullptr);
  if (size == 0) return {rect};
  std::vector<std::uint8_t> data(size);
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  if (GetRegionData(uncovered.get(), size, region) != size || region->rdh.nCount > kMostParts)
    return {rect};
  const auto* rects = reinterpret_cast<const RECT*>(region->Buffer);
  return std::vector<RECT>(rects, rects + region->rdh.nCount);
}
