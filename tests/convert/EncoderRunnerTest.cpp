#include "convert/EncoderRunner.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "convert/CancelRequest.h"
#include "convert/CommandLine.h"
#include "tests/doubles/BarModel.h"
#include "tests/doubles/FakeEncoderFolder.h"

namespace {

// Counts every call, so that a test can tell that the display was left alone.
class RecordingDisplay : public BarModel<> {
 public:
  void SetCurrentMax(int max) override {
    ++calls;
    BarModel::SetCurrentMax(max);
  }
  void SetCurrentPosition(int position) override {
    ++calls;
    BarModel::SetCurrentPosition(position);
  }
  void SetDetailText(const std::wstring& text) override {
    ++calls;
    BarModel::SetDetailText(text);
  }

  int calls = 0;
  std::function<void()> onPosition;

 protected:
  void PositionSet() override {
    if (onPosition) onPosition();
  }
};

class RunAndWatchTest : public testing::Test {
 protected:
  void TearDown() override { CancelRequested = 0; }

  std::string CommandFor(const char* key) {
    return BuildCommandLine({key, kKeepResolution, folder.AnsiPath() + "\\clip.flv",
                             folder.AnsiPath() + "\\", folder.AnsiPath()})
        .text;
  }

  FakeEncoderFolder folder;
  RecordingDisplay display;
};

TEST_F(RunAndWatchTest, PrimaryModeFollowsDurationAndTimeAndReturnsTheExitCode) {
  folder.Script("ffmpeg.exe",
                "out   Duration: 00:00:10.00, start: 0.000000, bitrate: 5 kb/s\\r\\n\n"
                "sleep 60\nout frame=  1 fps=0 q=2 size= 1kB time=2.50 bitrate= 1kbits/s\\r\n"
                "sleep 60\nout frame=  9 fps=9 q=2 size= 9kB time=5.00 bitrate= 1kbits/s\\r\n"
                "output data\nexit 3\n");
  EXPECT_EQ(RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display), 3);
  EXPECT_EQ(display.CurrentMax(), 1000);
  // The primary reader takes the tenths digit for hundredths: 2.50 s reads as 205.
  EXPECT_EQ(display.positions, (std::vector<int>{205, 500}));
  EXPECT_EQ(display.detail, L"500/1000");
  EXPECT_TRUE(std::filesystem::exists(folder.path / "clip.mp4"));
}

TEST_F(RunAndWatchTest, FallbackModeCountsInTenthsOfASecond) {
  folder.Script("ffmpegx.exe",
                "out   Duration: 00:00:10.00, start: 0.000000\\r\\n\n"
                "sleep 60\nout frame=  1 time=2.50 bitrate=\\r\n"
                "sleep 60\nout frame=  9 time=25.00 bitrate=\\r\n");
  EXPECT_EQ(RunAndWatch(RewriteForFallback(CommandFor("mp4")), SW_HIDE, WatchMode::FallbackFfmpeg,
                        display),
            0);
  EXPECT_EQ(display.CurrentMax(), 100);
  // A time past the duration shows a full bar.
  EXPECT_EQ(display.positions, (std::vector<int>{25, 100}));
  EXPECT_EQ(display.detail, L"100/100");
}

TEST_F(RunAndWatchTest, MencoderModeShowsPercentAndTheTrimmedLine) {
  folder.Script("mencoder.exe",
                "out MEncoder starting\\r\\n\nsleep 60\n"
                "out Pos:   1.0s     25f ( 7%)  25.00fps Trem:   1min   1mb  A-V:0.000 [0:0]\\r\n");
  EXPECT_EQ(RunAndWatch(CommandFor("avi"), SW_HIDE, WatchMode::Mencoder, display), 0);
  EXPECT_EQ(display.CurrentMax(), 100);
  EXPECT_EQ(display.positions, (std::vector<int>{7}));
  EXPECT_EQ(display.detail, L"Pos:   1.0s     25f ( 7%)  25.00fps Trem:   1min   1mb  A-V:0.000 [0:0]");
}

TEST_F(RunAndWatchTest, MarkersCutByTheChunkBoundaryAreNotRecognised) {
  // 250 bytes, then the duration line: the first 256-byte read ends inside it.
  folder.Script("ffmpeg.exe",
                "out " + std::string(250, 'x') +
                    "  Duration: 00:00:10.00, start: 0.000000\\r\\n\n"
                    "sleep 60\nbytes 4000 y\nsleep 60\nout  time=1.00 \\r\n");
  RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display);
  EXPECT_EQ(display.CurrentMax(), 100);  // unchanged: the duration was never read whole
  EXPECT_EQ(display.positions, (std::vector<int>{100}));
}

TEST_F(RunAndWatchTest, CancelStopsAtTheNextChunkWithoutWaitingForTheEncoder) {
  folder.Script("ffmpeg.exe",
                "out  time=1.00 \\r\nsleep 60\nout  time=2.00 \\r\nsleep 60\n"
                "out  time=3.00 \\r\nsleep 1500\n");
  display.onPosition = [] { CancelRequested = -1; };
  EXPECT_EQ(RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display),
            static_cast<int32_t>(STILL_ACTIVE));
  EXPECT_EQ(display.positions, (std::vector<int>{100}));
}

TEST_F(RunAndWatchTest, MissingEncoderGivesMinusOneAndLeavesTheDisplayAlone) {
  EXPECT_EQ(RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display), -1);
  EXPECT_EQ(display.calls, 0);
}

TEST_F(RunAndWatchTest, RunsInTheProgramFolderWithQuotedPathsAsOneArgument) {
  folder.Script("ffmpegx.exe", "output ok\n");
  std::filesystem::create_directories(folder.path / "with space");
  std::string command = BuildCommandLine({"mp3", kKeepResolution, "C:\\nowhere\\a b.flv",
                                          folder.AnsiPath() + "\\with space\\",
                                          folder.AnsiPath()})
                            .text;
  EXPECT_EQ(RunAndWatch(command, SW_HIDE, WatchMode::PrimaryFfmpeg, display), 0);
  EXPECT_TRUE(std::filesystem::exists(folder.path / "with space" / "a b.mp3"));
  EXPECT_EQ(folder.LoggedCommandLines("ffmpegx.exe"), std::vector<std::string>{command});
}

}  // namespace
