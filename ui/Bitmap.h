#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "ui/GdiObject.h"

namespace ui {

// A 32-bit top-down DIB section. Its pixels are addressable directly (0x00RRGGBB, the byte
// order of a DIB) and it can be selected into a memory DC for GDI drawing. Move-only; Clone
// copies the pixels. An empty bitmap has no handle and no size.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);  // all pixels 0 (black)
  // Copies `pixels` (width * height, top-down, 0x00RRGGBB).
  static Bitmap FromPixels(int width, int height, std::span<const std::uint32_t> pixels);
  // A 32-bit copy of any device-dependent or DIB bitmap.
  static Bitmap FromHandle(HBITMAP source);

  Bitmap(Bitmap&&) noexcept = default;
  Bitmap& operator=(Bitmap&&) noexcept = default;

  Bitmap Clone() const;
  void Reset();  // back to empty

  bool Empty() const { return !handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP Handle() const { return handle_.get(); }

  // Direct access; GDI drawing into the bitmap is flushed first.
  std::uint32_t* Row(int y);
  const std::uint32_t* Row(int y) const;
  COLORREF Pixel(int x, int y) const;
  void SetPixel(int x, int y, COLORREF colour);
  void Fill(COLORREF colour);

  // The bitmap selected into a memory DC for as long as the canvas lives.
  class Canvas {
   public:
    explicit Canvas(const Bitmap& bitmap) : dc_(), select_(dc_.get(), bitmap.Handle()) {}
    HDC dc() const { return dc_.get(); }

   private:
    MemoryDC dc_;
    SelectObjectGuard select_;
  };

 private:
  GdiObject<HBITMAP> handle_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// 0x00BBGGRR (COLORREF) and 0x00RRGGBB (a DIB pixel) into each other.
constexpr std::uint32_t SwapRedBlue(std::uint32_t c) {
  return (c & 0xFF00) | (c & 0xFF) << 16 | (c >> 16 & 0xFF);
}

}  // namespace ui
