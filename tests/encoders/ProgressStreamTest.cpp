#include <gtest/gtest.h>

#include "encoders/ProgressStream.h"

namespace frontend {
namespace {

constexpr std::string_view kBlock =
    "frame=101\nfps=25.00\nstream_0_0_q=8.0\nbitrate= 563.6kbits/s\ntotal_size=142311\n"
    "out_time_us=4020091\nout_time_ms=4020091\nout_time=00:00:04.020091\ndup_frames=1\n"
    "drop_frames=0\nspeed=12.4x\nprogress=end\n";

TEST(ProgressStreamTest, ABlockCountsOnceComplete) {
  ProgressStream stream;
  // Pieces as a pipe may deliver them, cut anywhere.
  EXPECT_FALSE(stream.Feed(kBlock.substr(0, 57)));
  EXPECT_FALSE(stream.AnyBlock());
  EXPECT_TRUE(stream.Feed(kBlock.substr(57)));
  const EngineProgress& p = stream.Latest();
  EXPECT_EQ(p.frame, 101);
  EXPECT_EQ(p.outTimeCentis, 402);
  EXPECT_EQ(p.totalBytes, 142311);
  EXPECT_EQ(p.bitrate, "563.6kbits/s");
  EXPECT_DOUBLE_EQ(p.quality, 8.0);
  EXPECT_DOUBLE_EQ(p.speed, 12.4);
  EXPECT_TRUE(p.ended);
  // A block with an earlier or unknown time does not move time back.
  stream.Feed("out_time=-00:00:00.040000\nprogress=continue\nout_time=N/A\nprogress=continue\n");
  EXPECT_EQ(stream.Latest().outTimeCentis, 402);
}

TEST(ProgressStreamTest, ClockTexts) {
  EXPECT_EQ(ParseClockCentis("00:01:23.450000"), 8345);
  EXPECT_EQ(ParseClockCentis("01:00:00.03"), 360003);
  EXPECT_EQ(ParseClockCentis("-00:00:00.023220"), 0);
  EXPECT_EQ(ParseClockCentis("N/A"), std::nullopt);
}

TEST(ProgressStreamTest, TimeIsCarriedForwardBetweenReports) {
  EngineProgress progress;
  progress.outTimeCentis = 1000;
  progress.speed = 2;
  struct Case {
    long long millis;
    std::optional<long long> duration;
    long long expected;
  } cases[] = {
      {0, 5000, 1000},           {200, 5000, 1040},
      {499, 5000, 1100},         {5000, 5000, 1100},  // no further than one report period
      {400, 1050, 1050},                              // never past the duration
      {400, std::nullopt, 1080},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EstimatedCentis(progress, c.millis, c.duration), c.expected) << c.millis;
  progress.speed = 0;  // not known yet
  EXPECT_EQ(EstimatedCentis(progress, 400, 5000), 1000);
  progress.speed = 2;
  progress.ended = true;
  EXPECT_EQ(EstimatedCentis(progress, 400, 5000), 1000);
}

}  // namespace
}  // namespace frontend
