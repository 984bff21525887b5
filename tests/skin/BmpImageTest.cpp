#include <gtest/gtest.h>

#include "skin/data/BmpImage.h"

namespace {

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
