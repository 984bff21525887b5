#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "ui/Bitmap.h"
#include "ui/Persistent.h"

namespace ui {

// The picture object behind "Picture", "Glyph" and image-list strips (class name
// "TBitmap"): a 32-bit bitmap that layouts stream as the bytes of a BMP file. Magenta is
// the transparent colour when Transparent is set.
class TBitmapImage : public TPersistent {
  VELMO_DECLARE_CLASS
 public:
  TBitmapImage() = default;

  // A BMP file's bytes (any depth GDI reads); false leaves the picture empty.
  bool LoadFromBytes(std::span<const uint8_t> bytes);
  void Assign(const Bitmap& bitmap) { bitmap_ = bitmap.Clone(); }
  void Clear() { bitmap_.Reset(); }

  bool Empty() const { return bitmap_.Empty(); }
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  HBITMAP Handle() const { return bitmap_.Handle(); }
  const Bitmap& Image() const { return bitmap_; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  COLORREF TransparentColor() const { return RGB(255, 0, 255); }

  // Draws the source rectangle into dest, stretched; transparent pixels are left alone.
  void Draw(HDC dc, const RECT& dest, const RECT& source, bool transparent) const;
  void Draw(HDC dc, const RECT& dest, bool transparent) const {
    Draw(dc, dest, RECT{0, 0, Width(), Height()}, transparent);
  }

 private:
  Bitmap bitmap_;
  bool transparent_ = false;
};

}  // namespace ui
