#include "ui/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace ui {

namespace {

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

Bitmap::Bitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!handle) throw std::runtime_error("CreateDIBSection failed");
  handle_.reset(handle);
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

Bitmap Bitmap::FromPixels(int width, int height, std::span<const std::uint32_t> pixels) {
  Bitmap bitmap(width, height);
  if (!bitmap.Empty()) {
    const std::size_t count = std::min(pixels.size(), static_cast<std::size_t>(width) * height);
    std::memcpy(bitmap.bits_, pixels.data(), count * 4);
  }
  return bitmap;
}

Bitmap Bitmap::FromHandle(HBITMAP source) {
  BITMAP info{};
  if (!source || !GetObjectW(source, sizeof info, &info)) return {};
  Bitmap bitmap(info.bmWidth, info.bmHeight);
  if (bitmap.Empty()) return bitmap;
  BITMAPINFO dib = TopDown32(info.bmWidth, info.bmHeight);
  MemoryDC dc;
  GetDIBits(dc.get(), source, 0, static_cast<UINT>(info.bmHeight), bitmap.bits_, &dib,
            DIB_RGB_COLORS);
  return bitmap;
}

Bitmap Bitmap::Clone() const {
  if (Empty()) return {};
  GdiFlush();
  return FromPixels(width_, height_, {bits_, static_cast<std::size_t>(width_) * height_});
}

void Bitmap::Reset() {
  handle_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

std::uint32_t* Bitmap::Row(int y) {
  GdiFlush();
  return bits_ + static_cast<std::size_t>(y) * width_;
}

const std::uint32_t* Bitmap::Row(int y) const {
  GdiFlush();
  return bits_ + static_cast<std::size_t>(y) * width_;
}

COLORREF Bitmap::Pixel(int x, int y) const { return SwapRedBlue(Row(y)[x] & 0xFFFFFF); }

void Bitmap::SetPixel(int x, int y, COLORREF colour) { Row(y)[x] = SwapRedBlue(colour & 0xFFFFFF); }

void Bitmap::Fill(COLORREF colour) {
  if (Empty()) return;
  GdiFlush();
  std::fill(bits_, bits_ + static_cast<std::size_t>(width_) * height_, SwapRedBlue(colour & 0xFFFFFF));
}

}  // namespace ui
