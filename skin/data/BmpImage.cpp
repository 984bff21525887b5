#include "skin/data/BmpImage.h"

#include <bit>

namespace {

constexpr int kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 32ll << 20;

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Scales a masked channel to 8 bits.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask >> shift);
  const std::uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return v >> (bits - 8);
  return v * 255 / ((1u << bits) - 1);  // full scale maps to 255
}

}  // namespace

std::optional<BmpImage> DecodeBmp(std::span<const std::uint8_t> file) {
  if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint32_t dataOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, 14);
  if (headerSize < 12 || headerSize > file.size() - 14) return std::nullopt;
  std::int64_t width, height;
  int bpp;
  std::uint32_t compression = 0, colours = 0;
  std::size_t paletteEntry = 4;
  if (headerSize == 12) {
    width = U16(file, 18);
    height = static_cast<std::int16_t>(U16(file, 20));
    bpp = U16(file, 24);
    paletteEntry = 3;
  } else {
    if (headerSize < 40) return std::nullopt;
    width = static_cast<std::int32_t>(U32(file, 18));
    height = static_cast<std::int32_t>(U32(file, 22));
    bpp = U16(file, 28);
    compression = U32(file, 30);
    colours = U32(file, 46);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      width * height > kMaxPixels) {
    return std::nullopt;
  }
  std::uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
  if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
  const std::size_t afterHeader = 14 + headerSize;
  if (compression == 3 && (bpp == 16 || bpp == 32)) {  // bit fields
    const std::size_t at = headerSize >= 52 ? 14 + 40 : afterHeader;
    if (at + 12 > file.size()) return std::nullopt;
    for (int i = 0; i < 3; ++i) masks[i] = U32(file, at + 4 * i);
  } else if (compression != 0) {
    return std::nullopt;
  }
  std::vector<std::uint32_t> palette;
  if (bpp == 1 || bpp == 4 || bpp == 8) {
    const std::size_t count = colours == 0 || colours > (1u << bpp) ? (1u << bpp) : colours;
    const std::size_t at = afterHeader + (compression == 3 && headerSize == 40 ? 12 : 0);
    if (at > file.size() || (file.size() - at) / paletteEntry < count) return std::nullopt;
    palette.resize(1u << bpp, 0);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t p = at + i * paletteEntry;
      palette[i] = file[p] | file[p + 1] << 8 | file[p + 2] << 16;
    }
  } else if (bpp != 16 && bpp != 24 && bpp != 32) {
    return std::nullopt;
  }
  const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
  if (dataOffset > file.size() ||
      (file.size() - dataOffset) / stride < static_cast<std::size_t>(height)) {
    return std::nullopt;
  }
  BmpImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<std::size_t>(width * height));
  for (int y = 0; y < image.height; ++y) {
    const std::size_t row =
        dataOffset + stride * static_cast<std::size_t>(topDown ? y : image.height - 1 - y);
    std::uint32_t* out = &image.pixels[static_cast<std::size_t>(y) * image.width];
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t px;
      switch (bpp) {
        case 1:
          px = palette[(file[row + x / 8] >> (7 - x % 8)) & 1];
          break;
        case 4:
          px = palette[(file[row + x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
          break;
        case 8:
          px = palette[file[row + x]];
          break;
        case 24: {
          const std::size_t p = row + static_cast<std::size_t>(x) * 3;
          px = file[p] | file[p + 1] << 8 | file[p + 2] << 16;
          break;
        }
        default: {
          const std::uint32_t v = bpp == 16 ? U16(file, row + x * 2u) : U32(file, row + x * 4u);
          px = Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
        }
      }
      out[x] = px & 0xFFFFFF;
    }
  }
  return image;
}

std::vector<std::uint8_t> EncodeBmp24(const BmpImage& image) {
  const std::size_t stride = ((static_cast<std::size_t>(image.width) * 24 + 31) / 32) * 4;
  const std::size_t dataSize = stride * image.height;
  std::vector<std::uint8_t> out(54 + dataSize, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(image.width));
  put32(22, static_cast<std::uint32_t>(image.height));
  out[26] = 1;
  out[28] = 24;
  put32(34, static_cast<std::uint32_t>(dataSize));
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t* row = &out[54 + stride * (image.height - 1 - y)];
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t px = image.pixels[static_cast<std::size_t>(y) * image.width + x];
      row[x * 3] = px & 0xFF;
      row[x * 3 + 1] = (px >> 8) & 0xFF;
      row[x * 3 + 2] = (px >> 16) & 0xFF;
    }
  }
  return out;
}
