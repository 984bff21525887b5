#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/Bitmap.h"

// A control's face composed in a bitmap of its own and put on the target in one block
// transfer, so that the control never shows an intermediate state.
class OffscreenFace {
 public:
  // `rect` is where the face goes on the target.
  explicit OffscreenFace(const RECT& rect);

  // False when the rectangle is empty or no bitmap could be made (nothing to draw on).
  bool Ready() const { return canvas_ != nullptr; }
  HDC dc() const { return canvas_->dc(); }
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  RECT Local() const { return {0, 0, bitmap_.Width(), bitmap_.Height()}; }
  ui::Bitmap& Picture() { return bitmap_; }
  // Copies the face to the target at the rectangle's place.
  void CopyTo(HDC target) const;
  // The same, leaving alone the visible child windows of `window` (they paint themselves);
  // the face and the target are in the window's client coordinates.
  void CopyAround(HDC target, HWND window) const;
  // The parts of `rect` (in the window's client coordinates) that the visible child windows
  // of `window` leave uncovered, for faces of their own; `rect` whole when too many.
  static std::vector<RECT> UncoveredParts(HWND window, const RECT& rect);

 private:
  POINT origin_;
  ui::Bitmap bitmap_;
  std::unique_ptr<ui::Bitmap::Canvas> canvas_;
};
