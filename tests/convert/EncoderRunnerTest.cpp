#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "convert/CancelRequest.h"
#include "convert/CommandLine.h"
#include "convert/EncoderProcesses.h"
#include "convert/EncoderRunner.h"
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

bool timerFired = false;
void CALLBACK CancelFromTimer(HWND, UINT, UINT_PTR, DWORD) {
  timerFired = true;
  CancelRequested = -1;
}

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
  EXPECT_EQ(RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display).exitCode, 3);
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
                        display)
                .exitCode,
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
  EXPECT_EQ(RunAndWatch(CommandFor("avi"), SW_HIDE, WatchMode::Mencoder, display).exitCode, 0);
  EXPECT_EQ(display.CurrentMax(), 100);
  EXPECT_EQ(display.positions, (std::vector<int>{7}));
  EXPECT_EQ(display.detail,
            L"Pos:   1.0s     25f ( 7%)  25.00fps Trem:   1min   1mb  A-V:0.000 [0:0]");
}

TEST_F(RunAndWatchTest, MarkersCutByTheChunkBoundaryAreNotRecognised) {
  // 250 bytes, then the duration line: the first 256-byte read ends inside it.
  folder.Script("ffmpeg.exe", "out " + std::string(250, 'x') +
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
  WatchResult result = RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display);
  StopOwnEncoders({"ffmpeg.exe"});  // left running by the watch; the run's end steps would stop it
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.exitCode, static_cast<int32_t>(STILL_ACTIVE));
  EXPECT_EQ(display.positions, (std::vector<int>{100}));
}

// While the encoder prints nothing the windows are served: a timer fires and its Cancel is
// seen, though no chunk ever arrives.
TEST_F(RunAndWatchTest, ASilentEncoderLeavesTheWindowsAnsweringAndCancelStopsTheWatch) {
  folder.Script("ffmpeg.exe", "sleep 60000\n");
  timerFired = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 200, CancelFromTimer);
  WatchResult result = RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display);
  KillTimer(nullptr, timer);
  StopOwnEncoders({"ffmpeg.exe"});
  EXPECT_TRUE(timerFired);
  EXPECT_TRUE(result.stopped);
  EXPECT_FALSE(result.endReported);
  EXPECT_EQ(display.calls, 0);
}

// The encoder's end-of-run report is read also when a chunk boundary cuts it in two.
TEST_F(RunAndWatchTest, ReadsTheEndOfRunReportWholeOrCut) {
  const std::string ffmpegReport =
      "video:12kB audio:3kB subtitle:0kB other streams:0kB global headers:0kB muxing overhead: 1%";
  struct Case {
    const char* what;
    const char* encoder;
    const char* key;
    WatchMode mode;
    std::string script;
    bool reported;
  } cases[] = {
      {"whole", "mencoder.exe", "avi", WatchMode::Mencoder, "output x\nreport\n", true},
      // One write of 300 bytes arrives as 256 bytes and the rest.
      {"cut", "ffmpeg.exe", "mp4", WatchMode::PrimaryFfmpeg,
       "out " + std::string(220, 'x') + "\\r\\n" + ffmpegReport + "\\r\\n\n", true},
      {"none", "ffmpeg.exe", "mp4", WatchMode::PrimaryFfmpeg, "output x\nout done\\r\\n\n", false},
      {"another encoder's", "mencoder.exe", "avi", WatchMode::Mencoder,
       "out " + ffmpegReport + "\\r\\n\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    folder.Script(c.encoder, c.script);
    WatchResult result = RunAndWatch(CommandFor(c.key), SW_HIDE, c.mode, display);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.endReported, c.reported);
  }
}

TEST_F(RunAndWatchTest, MissingEncoderGivesMinusOneAndLeavesTheDisplayAlone) {
  EXPECT_EQ(RunAndWatch(CommandFor("mp4"), SW_HIDE, WatchMode::PrimaryFfmpeg, display).exitCode,
            -1);
  EXPECT_EQ(display.calls, 0);
}

TEST_F(RunAndWatchTest, RunsInTheProgramFolderWithQuotedPathsAsOneArgument) {
  folder.Script("ffmpegx.exe", "output ok\n");
  std::filesystem::create_directories(folder.path / "with space");
  std::string command = BuildCommandLine({"mp3", kKeepResolution, "C:\\nowhere\\a b.flv",
                                          folder.AnsiPath() + "\\with space\\", folder.AnsiPath()})
                            .text;
  EXPECT_EQ(RunAndWatch(command, SW_HIDE, WatchMode::PrimaryFfmpeg, display).exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(folder.path / "with space" / "a b.mp3"));
  EXPECT_EQ(folder.LoggedCommandLines("ffmpegx.exe"), std::vector<std::string>{command});
}

}  // namespace
