#include "skin/controls/OffscreenFace.h"

OffscreenFace::OffscreenFace(const RECT& rect) : origin_{rect.left, rect.top} {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  bitmap_ = ui::Bitmap(width, height);
  if (!bitmap_.Empty()) canvas_ = std::make_unique<ui::Bitmap::Canvas>(bitmap_);
}

void OffscreenFace::CopyTo(HDC target) const {
  if (!canvas_) return;
  BitBlt(target, origin_.x, origin_.y, bitmap_.Width(), bitmap_.Height(), canvas_->dc(), 0, 0,
         SRCCOPY);
}
