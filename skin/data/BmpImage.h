#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A decoded Windows BMP: top-down rows of 0x00RRGGBB pixels (the byte order of a 32-bit DIB).
struct BmpImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

struct BmpSize {
  int width = 0;
  int height = 0;
};

// The size a BMP file declares, when it is a file DecodeBmp reads (up to 16384 pixels a
// side); read from its headers alone.
std::optional<BmpSize> BmpDimensions(std::span<const std::uint8_t> file);

// BMP files of 1, 4, 8, 16, 24 or 32 bits (bit fields included), bottom-up or top-down, and
// run-length coded ones of 4 and 8 bits. Anything else, an image of more pixels than a skin
// image may have, or an uncompressed file shorter than its pixel rows gives no image.
std::optional<BmpImage> DecodeBmp(std::span<const std::uint8_t> file);

// A 24-bit bottom-up BMP file of the image, as the skin's artwork is stored.
std::vector<std::uint8_t> EncodeBmp24(const BmpImage& image);
