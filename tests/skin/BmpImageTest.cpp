#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skin/data/BmpImage.h"

namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP file with a 40-byte header, the palette (0x00RRGGBB) and the pixel data as given.
std::vector<std::uint8_t> BmpFile(int width, int height, int bpp, std::uint32_t compression,
                                  const std::vector<std::uint32_t>& palette,
                                  const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> file(54);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 14, 40);
  Put32(file, 18, static_cast<std::uint32_t>(width));
  Put32(file, 22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = static_cast<std::uint8_t>(bpp);
  Put32(file, 30, compression);
  Put32(file, 46, static_cast<std::uint32_t>(palette.size()));
  for (std::uint32_t c : palette)
    file.insert(file.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), 0});
  Put32(file, 10, static_cast<std::uint32_t>(file.size()));
  file.insert(file.end(), data.begin(), data.end());
  Put32(file, 2, static_cast<std::uint32_t>(file.size()));
  return file;
}

std::vector<std::uint8_t> Fixture(const char* name) {
  std::ifstream in(std::string(VELMO_SOURCE_DIR "/tests/skin/fixtures/rle/") + name,
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(BmpImage, TwentyFourBitRoundTripKeepsEveryPixel) {
  BmpImage image{3, 2, {0xFF00FF, 0x010203, 0xFFFFFF, 0x000000, 0x123456, 0xABCDEF}};
  const auto decoded = DecodeBmp(EncodeBmp24(image));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, 3);
  EXPECT_EQ(decoded->height, 2);
  EXPECT_EQ(decoded->pixels, image.pixels);
}

TEST(BmpImage, PalettedTopDownAndBitFieldsDecode) {
  // 2x2, 8 bits, top-down, palette of two colours.
  std::vector<std::uint8_t> file = EncodeBmp24({1, 1, {0}});
  file.resize(54);
  file[28] = 8;
  file[22] = 0xFE, file[23] = file[24] = file[25] = 0xFF;  // height -2
  file[18] = 2;
  file[46] = 2;                                                         // two palette entries
  file.insert(file.end(), {0x00, 0x00, 0xFF, 0, 0xFF, 0x00, 0x00, 0});  // red, blue
  file[10] = static_cast<std::uint8_t>(file.size());
  file.insert(file.end(), {0, 1, 0, 0, 1, 0, 0, 0});
  const auto decoded = DecodeBmp(file);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->pixels, (std::vector<std::uint32_t>{0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000}));
}

TEST(BmpImage, DamagedFilesGiveNoImage) {
  const auto good = EncodeBmp24({4, 4, std::vector<std::uint32_t>(16, 0x808080)});
  auto cut = good;
  cut.resize(good.size() - 1);
  auto huge = good;
  huge[21] = 0x7F;  // width 0x7F000004
  auto compressed = good;
  compressed[30] = 1;
  auto zeroBits = good;
  zeroBits[28] = 0;
  for (const auto& file : {cut, huge, compressed, zeroBits, std::vector<std::uint8_t>{'B', 'M'}}) {
    EXPECT_FALSE(DecodeBmp(file));
  }
}

}  // namespace

namespace {

constexpr std::uint32_t kRle8 = 1, kRle4 = 2;
const std::vector<std::uint32_t> kPalette = {0x000000, 0x111111, 0x222222, 0x333333};

// Rows top-down as palette indices, for reading the cases below.
std::vector<std::uint32_t> Rows(std::initializer_list<std::initializer_list<int>> rows) {
  std::vector<std::uint32_t> pixels;
  for (const auto& row : rows) {
    for (int index : row) pixels.push_back(kPalette[static_cast<std::size_t>(index)]);
  }
  return pixels;
}

TEST(BmpImage, RunLengthCodedFilesDecode) {
  struct Case {
    const char* what;
    int width, height, bpp;
    std::vector<std::uint8_t> data;  // rows from the bottom up
    std::vector<std::uint32_t> expected;
  } cases[] = {
      {"runs, ends of lines, end of picture",
       4,
       3,
       8,
       {3, 1, 0, 0, 2, 2, 0, 0, 4, 3, 0, 1},
       Rows({{3, 3, 3, 3}, {2, 2, 0, 0}, {1, 1, 1, 0}})},
      {"absolute run of odd length, padded",
       4,
       2,
       8,
       {0, 3, 1, 2, 3, 0, 1, 2, 0, 1},
       Rows({{0, 0, 0, 0}, {1, 2, 3, 2}})},
      {"delta moves right and up",
       4,
       2,
       8,
       {0, 2, 2, 1, 1, 3, 0, 1},
       Rows({{0, 0, 3, 0}, {0, 0, 0, 0}})},
      {"a run past the right edge is cut",
       4,
       2,
       8,
       {6, 2, 0, 0, 1, 1, 0, 1},
       Rows({{1, 0, 0, 0}, {2, 2, 2, 2}})},
      {"data ending without its end marker", 4, 2, 8, {2, 1}, Rows({{0, 0, 0, 0}, {1, 1, 0, 0}})},
      {"four bits: alternating runs and an absolute run",
       4,
       2,
       4,
       {4, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1},
       Rows({{3, 1, 2, 0}, {1, 2, 1, 2}})},
  };
  for (const Case& c : cases) {
    const auto decoded =
        DecodeBmp(BmpFile(c.width, c.height, c.bpp, c.bpp == 8 ? kRle8 : kRle4, kPalette, c.data));
    ASSERT_TRUE(decoded) << c.what;
    EXPECT_EQ(decoded->pixels, c.expected) << c.what;
  }
  // Run-length rows cannot be stored top-down.
  EXPECT_FALSE(DecodeBmp(BmpFile(4, -2, 8, kRle8, kPalette, {2, 1, 0, 1})));
}

// A file as ImageMagick writes it decodes to what ImageMagick makes of it.
TEST(BmpImage, RunLengthFileFromImageMagickMatchesItsOwnDecoding) {
  const auto rle = DecodeBmp(Fixture("rle8.bmp"));
  const auto expected = DecodeBmp(Fixture("rle8-expected.bmp"));
  ASSERT_TRUE(rle);
  ASSERT_TRUE(expected);
  EXPECT_EQ(rle->width, 19);
  EXPECT_EQ(rle->height, 7);
  EXPECT_EQ(rle->pixels, expected->pixels);
}

// Headers alone tell the size, so that a skin can refuse an image before decoding it; an image
// beyond the pixels a skin image may have is never decoded.
TEST(BmpImage, SizeComesFromTheHeadersAndHugeImagesAreNotDecoded) {
  // 16384 x 2048 at one bit: 128 MiB once decoded; only its first row is present.
  const auto huge = BmpFile(16384, 2048, 1, 0, {0, 0xFFFFFF}, std::vector<std::uint8_t>(2048));
  const auto size = BmpDimensions(huge);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 16384);
  EXPECT_EQ(size->height, 2048);
  EXPECT_FALSE(DecodeBmp(huge));
  EXPECT_FALSE(BmpDimensions(std::vector<std::uint8_t>{'B', 'M', 0}));
}

}  // namespace
