#include "skin/data/BmpImage.h"

#include <algorithm>
#include <bit>

#include "skin/data/SkinLimits.h"

namespace {

constexpr int kMaxSide = 16384;

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

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

// Everything the headers say, checked against the file's length except the pixel data.
struct Header {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bpp = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t dataOffset = 0;
  std::uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
  std::vector<std::uint32_t> palette;  // 1 << bpp entries for paletted files
};

std::optional<Header> ReadHeader(std::span<const std::uint8_t> file) {
  if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  Header h;
  h.dataOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, 14);
  if (headerSize < 12 || headerSize > file.size() - 14) return std::nullopt;
  std::int64_t width, height;
  std::uint32_t colours = 0;
  std::size_t paletteEntry = 4;
  if (headerSize == 12) {
    width = U16(file, 18);
    height = static_cast<std::int16_t>(U16(file, 20));
    h.bpp = U16(file, 24);
    paletteEntry = 3;
  } else {
    if (headerSize < 40) return std::nullopt;
    width = static_cast<std::int32_t>(U32(file, 18));
    height = static_cast<std::int32_t>(U32(file, 22));
    h.bpp = U16(file, 28);
    h.compression = U32(file, 30);
    colours = U32(file, 46);
  }
  h.topDown = height < 0;
  if (h.topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);
  if (h.bpp == 16) h.masks[0] = 0x7C00, h.masks[1] = 0x3E0, h.masks[2] = 0x1F;
  const std::size_t afterHeader = 14 + headerSize;
  switch (h.compression) {
    case kRgb:
      break;
    case kRle8:
    case kRle4:
      // Run-length rows are always stored bottom-up.
      if (h.bpp != (h.compression == kRle8 ? 8 : 4) || h.topDown) return std::nullopt;
      break;
    case kBitFields: {
      if (h.bpp != 16 && h.bpp != 32) return std::nullopt;
      const std::size_t at = headerSize >= 52 ? 14 + 40 : afterHeader;
      if (at + 12 > file.size()) return std::nullopt;
      for (int i = 0; i < 3; ++i) h.masks[i] = U32(file, at + 4 * i);
      break;
    }
    default:
      return std::nullopt;
  }
  if (h.bpp == 1 || h.bpp == 4 || h.bpp == 8) {
    const std::size_t count = colours == 0 || colours > (1u << h.bpp) ? (1u << h.bpp) : colours;
    const std::size_t at = afterHeader;
    if (at > file.size() || (file.size() - at) / paletteEntry < count) return std::nullopt;
    h.palette.assign(std::size_t{1} << h.bpp, 0);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t p = at + i * paletteEntry;
      h.palette[i] = file[p] | file[p + 1] << 8 | file[p + 2] << 16;
    }
  } else if (h.bpp != 16 && h.bpp != 24 && h.bpp != 32) {
    return std::nullopt;
  }
  if (h.dataOffset > file.size()) return std::nullopt;
  return h;
}

// Uncompressed rows: the file must hold all of them.
bool DecodeRows(std::span<const std::uint8_t> file, const Header& h, BmpImage& image) {
  const std::size_t stride = ((static_cast<std::size_t>(h.width) * h.bpp + 31) / 32) * 4;
  if ((file.size() - h.dataOffset) / stride < static_cast<std::size_t>(h.height)) return false;
  for (int y = 0; y < h.height; ++y) {
    const std::size_t row =
        h.dataOffset + stride * static_cast<std::size_t>(h.topDown ? y : h.height - 1 - y);
    std::uint32_t* out = &image.pixels[static_cast<std::size_t>(y) * h.width];
    for (int x = 0; x < h.width; ++x) {
      std::uint32_t px;
      switch (h.bpp) {
        case 1:
          px = h.palette[(file[row + x / 8] >> (7 - x % 8)) & 1];
          break;
        case 4:
          px = h.palette[(file[row + x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
          break;
        case 8:
          px = h.palette[file[row + x]];
          break;
        case 24: {
          const std::size_t p = row + static_cast<std::size_t>(x) * 3;
          px = file[p] | file[p + 1] << 8 | file[p + 2] << 16;
          break;
        }
        default: {
          const std::uint32_t v = h.bpp == 16 ? U16(file, row + x * 2u) : U32(file, row + x * 4u);
          px = Channel(v, h.masks[0]) << 16 | Channel(v, h.masks[1]) << 8 | Channel(v, h.masks[2]);
        }
      }
      out[x] = px & 0xFFFFFF;
    }
  }
  return true;
}

// Run-length rows (RLE8, RLE4), bottom-up. Pixels the runs skip (by a delta, an early end of
// line or of the picture) keep the first palette colour; runs past the right edge are cut. The
// end of the data ends the picture like its end marker.
void DecodeRunLengths(std::span<const std::uint8_t> file, const Header& h, BmpImage& image) {
  const bool four = h.bpp == 4;
  std::fill(image.pixels.begin(), image.pixels.end(), h.palette[0]);
  int x = 0, y = 0;  // y counts rows from the bottom; x stops at the right edge
  auto put = [&](unsigned index) {
    image.pixels[static_cast<std::size_t>(h.height - 1 - y) * h.width + x++] = h.palette[index];
  };
  std::size_t at = h.dataOffset;
  while (at + 2 <= file.size() && y < h.height) {
    const unsigned count = file[at], value = file[at + 1];
    at += 2;
    if (count > 0) {  // a run of one index, or of two alternating ones
      for (unsigned i = 0; i < count && x < h.width; ++i) {
        put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
      }
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move right and up
      if (at + 2 > file.size()) break;
      x = std::min(x + file[at], h.width);
      y += file[at + 1];
      at += 2;
    } else {  // `value` indices as they are, padded to whole words
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (bytes > file.size() - at) break;
      for (unsigned i = 0; i < value && x < h.width; ++i) {
        const unsigned b = file[at + (four ? i / 2 : i)];
        put(four ? (i % 2 ? b & 0xF : b >> 4) : b);
      }
      at += bytes + bytes % 2;
    }
  }
}

}  // namespace

std::optional<BmpSize> BmpDimensions(std::span<const std::uint8_t> file) {
  const std::optional<Header> h = ReadHeader(file);
  if (!h) return std::nullopt;
  return BmpSize{h->width, h->height};
}

std::optional<BmpImage> DecodeBmp(std::span<const std::uint8_t> file) {
  const std::optional<Header> h = ReadHeader(file);
  if (!h || std::int64_t{h->width} * h->height > skin_limits::kMaxImagePixels) return std::nullopt;
  BmpImage image;
  image.width = h->width;
  image.height = h->height;
  image.pixels.resize(static_cast<std::size_t>(h->width) * h->height);
  if (h->compression == kRle8 || h->compression == kRle4) {
    DecodeRunLengths(file, *h, image);
  } else if (!DecodeRows(file, *h, image)) {
    return std::nullopt;
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
