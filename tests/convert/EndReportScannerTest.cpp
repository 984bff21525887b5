#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "convert/EndReportScanner.h"

namespace {

constexpr char kFfmpegReport[] =
    "video:1234kB audio:567kB subtitle:0kB other streams:0kB global headers:0kB muxing overhead: "
    "1.234567%";
constexpr char kMencoderReport[] =
    "Video stream:  456.789 kbit/s  (57098 B/s)  size: 1234567 bytes  21.622 secs  541 frames";

struct ScanCase {
  const char* what;
  EndReportKind kind;
  std::string output;
  bool seen;
};

class EndReportScannerTest : public testing::TestWithParam<ScanCase> {};

// Whatever the chunk boundaries, the answer is the same: the output is cut in two at every
// position, and also fed in chunks of one byte.
TEST_P(EndReportScannerTest, RecognisesTheReportWhereverTheChunksAreCut) {
  const ScanCase& c = GetParam();
  for (size_t cut = 0; cut <= c.output.size(); ++cut) {
    EndReportScanner scanner(c.kind);
    scanner.Feed(std::string_view(c.output).substr(0, cut));
    scanner.Feed(std::string_view(c.output).substr(cut));
    EXPECT_EQ(scanner.Seen(), c.seen) << "cut at " << cut;
  }
  EndReportScanner bytewise(c.kind);
  for (char b : c.output) bytewise.Feed(std::string_view(&b, 1));
  EXPECT_EQ(bytewise.Seen(), c.seen);
}

const std::string kStatus =
    "frame=  101 fps= 25 q=8.0 size=     139kB time=4.02 bitrate=563.6kbits/s\r";

INSTANTIATE_TEST_SUITE_P(
    Cases, EndReportScannerTest,
    testing::Values(ScanCase{"ffmpeg report after status lines", EndReportKind::Ffmpeg,
                             kStatus + kStatus + kFfmpegReport + "\r\n", true},
                    ScanCase{"ffmpeg report as the very last bytes", EndReportKind::Ffmpeg,
                             kStatus + "\n" + kFfmpegReport, true},
                    ScanCase{"ffmpeg report first in the output", EndReportKind::Ffmpeg,
                             std::string(kFfmpegReport) + "\r\n", true},
                    ScanCase{"mencoder report", EndReportKind::Mencoder,
                             "Pos:   4.0s    101f ( 99%)\r" + std::string(kMencoderReport) + "\n",
                             true},
                    ScanCase{"report not at the start of its line", EndReportKind::Ffmpeg,
                             kStatus + " " + kFfmpegReport + "\r\n", false},
                    ScanCase{"video: without muxing overhead", EndReportKind::Ffmpeg,
                             kStatus + "video:1234kB audio:567kB\r\n", false},
                    ScanCase{"muxing overhead on the next line", EndReportKind::Ffmpeg,
                             kStatus + "video:1234kB\nmuxing overhead: 1%\r\n", false},
                    ScanCase{"the other encoder's report", EndReportKind::Ffmpeg,
                             std::string(kMencoderReport) + "\n", false},
                    ScanCase{"ffmpeg report to a mencoder watch", EndReportKind::Mencoder,
                             std::string(kFfmpegReport) + "\n", false},
                    ScanCase{"zero bytes and no line breaks", EndReportKind::Ffmpeg,
                             std::string(600, '\0') + "video: muxing overhead", false},
                    ScanCase{"zero bytes, then the report on its own line", EndReportKind::Ffmpeg,
                             std::string(600, '\0') + "\r\n" + kFfmpegReport, true}),
    [](const testing::TestParamInfo<ScanCase>& info) {
      std::string name;
      for (const char* p = info.param.what; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

TEST(EndReportScanner, AReportAfterAFloodWithoutLineBreaksIsSeen) {
  EndReportScanner scanner(EndReportKind::Ffmpeg);
  std::string flood(256, 'x');
  for (int i = 0; i < 10000; ++i) scanner.Feed(flood);
  EXPECT_FALSE(scanner.Seen());
  scanner.Feed(std::string("\n") + kFfmpegReport + "\n");
  EXPECT_TRUE(scanner.Seen());
}

}  // namespace
