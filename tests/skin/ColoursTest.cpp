#include <gtest/gtest.h>

#include "skin/data/Colours.h"

namespace {

TEST(Colours, ParseColourReadsThreeNumbers) {
  struct Case {
    const char* text;
    Colour expected;
  } cases[] = {
      {"227 238 253", Rgb(227, 238, 253)},
      {"  1,2,3  ", Rgb(1, 2, 3)},
      {"r=10 g=20 b=30", Rgb(10, 20, 30)},
      {"10 20", Rgb(10, 0, 0)},             // only numbers ended by a separator count...
      {"10 20 30 40", Rgb(10, 20, 30)},     // a fourth number is ignored
      {"300 256 511", Rgb(44, 0, 255)},     // low bytes
      {"255", Rgb(0, 0, 0)},                // ...unless two came before
      {"99999999999 5 6 7", Rgb(5, 6, 7)},  // an unconvertible number is skipped
      {"none", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseColour(c.text, 0x123456), c.expected) << c.text;
  EXPECT_EQ(ParseColour("", 0x123456), 0x123456u);
}

TEST(Colours, MixRgbWeighsPerChannel) {
  EXPECT_EQ(MixRgb(Rgb(200, 0, 100), Rgb(0, 200, 100), 25), Rgb(50, 150, 100));
  // Weights of 100 and more are per mille.
  EXPECT_EQ(MixRgb(0x808080, Rgb(10, 20, 30), 150), Rgb(28, 36, 45));
  EXPECT_EQ(MixRgb(Rgb(255, 255, 255), 0, 99), Rgb(252, 252, 252));
}

TEST(Colours, SaturationRoundsHalvesToEvenAndDarkColoursCount200) {
  EXPECT_EQ(ColourSaturation(Rgb(255, 0, 0)), 255);
  EXPECT_EQ(ColourSaturation(Rgb(200, 200, 200)), 0);
  EXPECT_EQ(ColourSaturation(Rgb(10, 20, 30)), 200);
  EXPECT_EQ(ColourSaturation(Rgb(0, 0, 0)), 200);
  // 255 * 1 / 170 = 1.5 rounds to 2; 255 * 5 / 170 = 7.5 rounds to 8; 255 * 3 / 170 = 4.5 to 4.
  EXPECT_EQ(ColourSaturation(Rgb(170, 169, 170)), 2);
  EXPECT_EQ(ColourSaturation(Rgb(170, 165, 170)), 8);
  EXPECT_EQ(ColourSaturation(Rgb(170, 167, 170)), 4);
}

TEST(Colours, GradientRampRunsFromFirstToLastWithRounding) {
  // Falling channels stop one short: the half step is added before truncating toward zero.
  EXPECT_EQ(GradientRamp(Rgb(0, 100, 0), Rgb(10, 0, 0), 3),
            (std::vector<Colour>{Rgb(0, 100, 0), Rgb(5, 51, 0), Rgb(10, 1, 0)}));
  EXPECT_EQ(GradientRamp(Rgb(0, 10, 0), Rgb(3, 7, 0), 4),
            (std::vector<Colour>{Rgb(0, 10, 0), Rgb(1, 10, 0), Rgb(2, 9, 0), Rgb(3, 8, 0)}));
  EXPECT_EQ(GradientRamp(Rgb(0, 0, 0), Rgb(10, 0, 0), 1), (std::vector<Colour>{Rgb(5, 0, 0)}));
}

TEST(Colours, RampCacheKeepsSixteenRampsRoundRobin) {
  GradientRampCache cache;
  for (int n = 1; n <= 16; ++n) cache.Get(0, 0xFFFFFF, n);
  EXPECT_EQ(cache.Misses(), 16);
  EXPECT_EQ(cache.Get(0, 0xFFFFFF, 5).size(), 5u);
  EXPECT_EQ(cache.Misses(), 16);
  cache.Get(1, 0xFFFFFF, 5);  // different first colour: a new ramp, replacing length 1
  EXPECT_EQ(cache.Misses(), 17);
  cache.Get(0, 0xFFFFFF, 2);
  EXPECT_EQ(cache.Misses(), 17);
  cache.Get(0, 0xFFFFFF, 1);
  EXPECT_EQ(cache.Misses(), 18);
}

}  // namespace
