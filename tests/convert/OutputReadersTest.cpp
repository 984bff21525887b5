#include "convert/OutputReaders.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtractBetween, StartPositionZeroShiftsOneCharacterBack) {
  EXPECT_EQ(ExtractBetween("xDuration: 00:01:23.45, start", "Duration:", ",", 0), ": 00:01:23.4");
  EXPECT_EQ(ExtractBetween("a f ( 5%) b", "f (", "%)", 1), "5");
  EXPECT_EQ(ExtractBetween("no start here", "f (", "%)", 1), "");
  EXPECT_EQ(ExtractBetween("f ( 5 no end", "f (", "%)", 1), "");
  // The end token is searched behind the start token only.
  EXPECT_EQ(ExtractBetween("%) f (7%)", "f (", "%)", 1), "7");
  // A start position past the first occurrence finds the next one.
  EXPECT_EQ(ExtractBetween("f (1%) f (2%)", "f (", "%)", 3), "2");
}

struct ReaderCase {
  const char* chunk;
  int duration;
  int time;
  int durationFallback;
  int timeFallback;
};

class FfmpegReaders : public testing::TestWithParam<ReaderCase> {};

TEST_P(FfmpegReaders, GiveTheirValues) {
  const ReaderCase& c = GetParam();
  EXPECT_EQ(ReadDurationCentis(c.chunk), c.duration);
  EXPECT_EQ(ReadTimeCentis(c.chunk), c.time);
  EXPECT_EQ(ReadDurationFallback(c.chunk), c.durationFallback);
  EXPECT_EQ(ReadTimeFallback(c.chunk), c.timeFallback);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, FfmpegReaders,
    testing::Values(
        ReaderCase{"  Duration: 00:01:23.45, start: 0.000000, bitrate: 551 kb/s\r\n", 8340, -1,
                   834, -1},
        ReaderCase{"frame=  296 fps= 98 q=2.0 size=  1024kB time=83.45 bitrate= 100.0kbits/s\r",
                   -1, 8304, -1, 834},
        // Hours, minutes and seconds: only the tenths digit survives the primary reader.
        ReaderCase{"frame= 1 time=00:01:23.45 bitrate=", -1, 4, -1, -1},
        // The marker must not be the chunk's first character.
        ReaderCase{"time=83.45 bitrate", -1, -1, -1, -1},
        ReaderCase{"Duration: 00:01:23.45, start", -1, -1, -1, -1},
        // No duration known: no value, the bar keeps its maximum.
        ReaderCase{"  Duration: N/A, start: 0.0", 0, -1, 0, -1},
        // Upper-case TIME= is not the status marker.
        ReaderCase{"  TIME=83.45 ", -1, -1, -1, -1},
        ReaderCase{"  Duration: 01:00:00.00, start", 360000, -1, 36000, -1},
        ReaderCase{"nothing of interest", -1, -1, -1, -1}));

TEST(MencoderReader, PercentOnlyFromAStatusLine) {
  EXPECT_EQ(ReadMencoderPercent(
                "Pos:  12.3s    296f ( 5%)  98.65fps Trem:   2min  21mb  A-V:0.000 [0:0]\r"),
            5);
  EXPECT_EQ(ReadMencoderPercent("Pos: 80.0s 2000f (97%) 99fps Trem: 0min 30mb A-V:0.000\r"), 97);
  // A percentage without the status markers gives nothing.
  EXPECT_EQ(ReadMencoderPercent("Pos: 12.3s 296f ( 5%) 98.65fps"), -1);
  EXPECT_EQ(ReadMencoderPercent("  296f ( 5%) A-V:0.000"), -1);
  EXPECT_EQ(ReadMencoderPercent("x 296f (  %) 1fps trem: a-v:0"), -1);
}

TEST(TrimText, RemovesBlanksAndControlCharacters) {
  EXPECT_EQ(TrimText("\r\n \t Pos: 1 \r"), "Pos: 1");
  EXPECT_EQ(TrimText(" \r\n"), "");
}

}  // namespace
