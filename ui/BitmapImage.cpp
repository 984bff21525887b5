#include "ui/BitmapImage.h"

#include <cstring>

namespace ui {

const TClassInfo& TBitmapImage::StaticClass() {
  static TClassInfo info(L"TBitmap", &TPersistent::StaticClass());
  static const bool published = [] {
    info.Boolean<TBitmapImage>(L"Transparent", &TBitmapImage::Transparent,
                               &TBitmapImage::SetTransparent);
    TPropInfo data(L"Data", TPropKind::Binary);
    data.setBinary = [](TPersistent& o, std::span<const uint8_t> bytes) {
      static_cast<TBitmapImage&>(o).LoadFromBytes(bytes);
    };
    info.Add(std::move(data));
    TPropInfo width(L"Width", TPropKind::Integer);
    width.getOrdinal = [](const TPersistent& o) {
      return static_cast<const TBitmapImage&>(o).Width();
    };
    info.Add(std::move(width));
    TPropInfo height(L"Height", TPropKind::Integer);
    height.getOrdinal = [](const TPersistent& o) {
      return static_cast<const TBitmapImage&>(o).Height();
    };
    info.Add(std::move(height));
    return true;
  }();
  (void)published;
  return info;
}

bool TBitmapImage::LoadFromBytes(std::span<const uint8_t> bytes) {
  bitmap_.Reset();
  if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return false;
  BITMAPFILEHEADER file;
  std::memcpy(&file, bytes.data(), sizeof(file));
  if (file.bfType != 0x4D42 || file.bfOffBits >= bytes.size()) return false;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + sizeof(BITMAPFILEHEADER));
  BITMAPINFOHEADER header;
  std::memcpy(&header, info, sizeof(header));
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
      header.biWidth > 16384 || header.biHeight > 16384 || header.biHeight < -16384) {
    return false;
  }
  // The pixel rows must lie inside the file before GDI reads them.
  uint64_t stride = ((static_cast<uint64_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
  uint64_t rows = static_cast<uint64_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
  if (header.biCompression == BI_RGB && file.bfOffBits + stride * rows > bytes.size()) return false;
  HDC screen = GetDC(nullptr);
  HBITMAP source = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bytes.data() + file.bfOffBits,
                                  info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!source) return false;
  GdiObject<HBITMAP> owned(source);
  bitmap_ = Bitmap::FromHandle(owned.get());
  return !bitmap_.Empty();
}

void TBitmapImage::Draw(HDC dc, const RECT& dest, const RECT& source, bool transparent) const {
  if (Empty()) return;
  MemoryDC memory(dc);
  SelectObjectGuard select(memory.get(), Handle());
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  int sw = source.right - source.left, sh = source.bottom - source.top;
  if (transparent) {
    TransparentBlt(dc, dest.left, dest.top, dw, dh, memory.get(), source.left, source.top, sw, sh,
                   TransparentColor());
  } else {
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, dest.left, dest.top, dw, dh, memory.get(), source.left, source.top, sw, sh,
               SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
}

}  // namespace ui
