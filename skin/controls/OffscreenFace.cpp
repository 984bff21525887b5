#include "skin/controls/OffscreenFace.h"

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
