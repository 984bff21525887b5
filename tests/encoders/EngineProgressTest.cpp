#include <gtest/gtest.h>

#include "convert/EncoderRunner.h"
#include "convert/OutputReaders.h"
#include "encoders/EngineProgress.h"

namespace frontend {
namespace {

constexpr std::string_view kBlock =
    "frame=101\nfps=25.00\nstream_0_0_q=8.0\nbitrate= 563.6kbits/s\ntotal_size=142311\n"
    "out_time_us=4020091\nout_time_ms=4020091\nout_time=00:00:04.020091\ndup_frames=1\n"
    "drop_frames=0\nspeed=12.4x\nprogress=end\n";

TEST(EngineProgressTest, ABlockCountsOnceComplete) {
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

TEST(EngineProgressTest, ClockTexts) {
  EXPECT_EQ(ParseClockCentis("00:01:23.450000"), 8345);
  EXPECT_EQ(ParseClockCentis("01:00:00.03"), 360003);
  EXPECT_EQ(ParseClockCentis("-00:00:00.023220"), 0);
  EXPECT_EQ(ParseClockCentis("N/A"), std::nullopt);
}

TEST(EngineProgressTest, LogGivesDurationHeaderAndErrors) {
  EngineLog log;
  log.FeedLine("[info] Input #0, flv, from 'clip.flv':");
  log.FeedLine("[info]   Duration: 00:00:04.03, start: 0.000000, bitrate: 571 kb/s");
  EXPECT_FALSE(log.HeaderDone());
  log.FeedLine("[info] Output #0, mp4, to 'o.mp4':");
  log.FeedLine("[info]   Duration: 00:09:00.00, start: 0.000000, bitrate: 1 kb/s");
  EXPECT_TRUE(log.HeaderDone());
  EXPECT_EQ(log.DurationText(), "00:00:04.03, start: 0.000000, bitrate: 571 kb/s");
  EXPECT_EQ(log.DurationCentis(), 403);
  EXPECT_EQ(log.ErrorText(),
            "Input #0, flv, from 'clip.flv':\r\n"
            "Duration: 00:00:04.03, start: 0.000000, bitrate: 571 kb/s\r\n"
            "Output #0, mp4, to 'o.mp4':\r\n"
            "Duration: 00:09:00.00, start: 0.000000, bitrate: 1 kb/s\r\n");
  log.FeedLine("[mp4 @ 0a1b2c3d] [error] Could not open 'x': Permission denied");
  log.FeedLine("[fatal] Conversion failed!");
  EXPECT_EQ(log.ErrorText(),
            "[mp4 @ 0a1b2c3d] Could not open 'x': Permission denied\r\nConversion failed!\r\n");
  EngineLog unknown;
  unknown.FeedLine("[info]   Duration: N/A, start: 0.000000, bitrate: N/A");
  EXPECT_EQ(unknown.DurationCentis(), std::nullopt);
}

// The converter's own readers, on 256-byte chunks of our console output, see every marker.
TEST(EngineProgressTest, MarkersSurviveTheConvertersChunks) {
  std::string console = DurationLine("00:01:23.45, start: 0.000000, bitrate: 571 kb/s");
  EngineProgress progress;
  progress.bitrate = "N/A";
  for (long long centis : {0, 1234, 4567, 8345}) {
    progress.outTimeCentis = centis;
    progress.frame = centis / 4;
    console += FfmpegStatusLine(progress);
  }
  ASSERT_EQ(console.size() % kMarkerLineSize, 0u);
  std::vector<int> durations, times, fallbackTimes;
  for (size_t at = 0; at < console.size(); at += kChunkReadSize) {
    std::string_view chunk = std::string_view(console).substr(at, kChunkReadSize);
    if (int d = ReadDurationCentis(chunk); d > 0) durations.push_back(d);
    if (int t = ReadTimeCentis(chunk); t > 0) times.push_back(t);
    if (int t = ReadTimeFallback(chunk); t > 0) fallbackTimes.push_back(t);
  }
  EXPECT_EQ(durations, std::vector<int>{8340});
  // Only the first marker of a chunk counts; the readers keep tenths of a second.
  EXPECT_EQ(times, (std::vector<int>{1203, 8304}));
  EXPECT_EQ(fallbackTimes, (std::vector<int>{123, 834}));
  // Read line by line, as when the converter keeps up, every time arrives.
  times.clear();
  for (size_t at = kMarkerLineSize; at < console.size(); at += kMarkerLineSize)
    times.push_back(ReadTimeCentis(std::string_view(console).substr(at, kMarkerLineSize)));
  EXPECT_EQ(times, (std::vector<int>{0, 1203, 4506, 8304}));
}

TEST(EngineProgressTest, TimeIsCarriedForwardBetweenReports) {
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

TEST(EngineProgressTest, MencoderLineGivesItsPercent) {
  EngineProgress progress;
  progress.outTimeCentis = 1230;
  progress.frame = 296;
  progress.fps = 98.65;
  progress.speed = 4;
  progress.totalBytes = 3 << 20;
  std::string line = MencoderStatusLine(progress, 24600, false);
  EXPECT_EQ(line.size(), kMarkerLineSize);
  EXPECT_EQ(line.back(), '\r');
  EXPECT_EQ(ReadMencoderPercent(line), 5) << line;
  EXPECT_EQ(ReadMencoderPercent(MencoderStatusLine(progress, 24600, true)), 100);
  EXPECT_EQ(ReadMencoderPercent(MencoderStatusLine(progress, std::nullopt, false)), 0);
}

}  // namespace
}  // namespace frontend
