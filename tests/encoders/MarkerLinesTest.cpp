#include <gtest/gtest.h>

#include "convert/EncoderRunner.h"
#include "convert/EndReportScanner.h"
#include "convert/OutputReaders.h"
#include "encoders/MarkerLines.h"

namespace frontend {
namespace {

// The converter's own readers, on 256-byte chunks of our console output, see every marker.
TEST(MarkerLinesTest, MarkersSurviveTheConvertersChunks) {
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

TEST(MarkerLinesTest, MencoderLineGivesItsPercent) {
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

// The report that ends a complete run is what the converter's own scanner looks for, after
// the status lines and read in the converter's chunks.
TEST(MarkerLinesTest, EndReportIsRecognisedByTheConverter) {
  EngineProgress progress;
  progress.outTimeCentis = 403;
  progress.frame = 101;
  const std::string engineSummary =
      "video:139kB audio:32kB subtitle:0kB other streams:0kB global headers:0kB muxing overhead: "
      "0.9%";
  struct Case {
    const char* what;
    bool mencoder;
    std::optional<std::string> summary;
    const char* begins;
  } cases[] = {
      {"engine summary", false, engineSummary, "video:139kB audio:32kB"},
      {"no summary", false, std::nullopt, "video:167kB audio:0kB"},
      {"summary too long", false, engineSummary + std::string(100, ' ') + "x", "video:167kB"},
      {"mencoder", true, std::nullopt,
       "Video stream:  340.240 kbit/s  (42530 B/s)  size: 171396 bytes  4.030 secs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string line = EndReportLine(c.mencoder, progress, c.summary, 171396);
    EXPECT_EQ(line.size() % kMarkerLineSize, 0u);
    EXPECT_TRUE(line.starts_with(c.begins)) << line;
    std::string console =
        (c.mencoder ? MencoderStatusLine(progress, 403, true) : FfmpegStatusLine(progress)) + line;
    EndReportScanner scanner(c.mencoder ? EndReportKind::Mencoder : EndReportKind::Ffmpeg);
    for (size_t at = 0; at < console.size(); at += kChunkReadSize)
      scanner.Feed(std::string_view(console).substr(at, kChunkReadSize));
    EXPECT_TRUE(scanner.Seen());
  }
}

}  // namespace
}  // namespace frontend
