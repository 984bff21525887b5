#include <gtest/gtest.h>

#include "encoders/EngineLog.h"

namespace frontend {
namespace {

TEST(EngineLogTest, LogGivesDurationHeaderAndErrors) {
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

}  // namespace
}  // namespace frontend
