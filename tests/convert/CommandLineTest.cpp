#include "convert/CommandLine.h"

#include <gtest/gtest.h>

#include "convert/FormatTable.h"

namespace {

const std::string kKeep(kKeepResolution);

std::string Line(std::string_view key, std::string_view resolution) {
  return BuildCommandLine({key, resolution, "D:\\v\\a.flv", "D:\\v\\out\\", "C:\\T"}).text;
}

TEST(CommandLine, WorkedExampleMp4KeptResolution) {
  // "转换" in code page 936.
  const std::string folder = "D:\\v\\\xD7\xAA\xBB\xBB\\";
  CommandLine line = BuildCommandLine({"mp4", kKeep, "D:\\v\\a.flv", folder, "C:\\T"});
  EXPECT_EQ(line.text,
            "\"C:\\T\\ffmpeg.exe\" -y -i  \"D:\\v\\a.flv\"  -f mp4 -vcodec mpeg4   -acodec libfaac "
            "-ac 2 -ab 64K  -ar 48000  \"" + folder + "a.mp4\"  ");
  EXPECT_EQ(line.outputPath, folder + "a.mp4");
  EXPECT_EQ(line.quotedOutput, " \"" + folder + "a.mp4\"  ");
}

struct LineCase {
  const char* key;
  const char* resolution;  // nullptr: keep the source's size
  const char* expected;
};

class CommandLineForKey : public testing::TestWithParam<LineCase> {};

TEST_P(CommandLineForKey, IsExact) {
  const LineCase& c = GetParam();
  EXPECT_EQ(Line(c.key, c.resolution ? c.resolution : kKeep), c.expected);
}

#define SRC " \"D:\\v\\a.flv\" "
INSTANTIATE_TEST_SUITE_P(
    AllKeys, CommandLineForKey,
    testing::Values(
        LineCase{"avi", nullptr,
                 "\"C:\\T\\mencoder.exe\"  " SRC
                 " -mc 0   -oac mp3lame -lameopts aq=7:vbr=2:q=6 -srate 32000 -vf "
                 "scale=-8:-8,harddup -ovc xvid -xvidencopts fixed_quant=8 -o   "
                 "\"D:\\v\\out\\a.avi\"  "},
        LineCase{"3gp", nullptr,
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f 3gp -vcodec h263  -b 200k -r 14.985 -acodec libamr_nb -ac 1 -ar 8000 -ab "
                 "7.95k  \"D:\\v\\out\\a.3gp\"  "},
        LineCase{"mp4-psp", nullptr,
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s 320x240  -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000    "
                 "\"D:\\v\\out\\a.mp4\"  "},
        LineCase{"mp4-iphone", nullptr,
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s 320x240 -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000   "
                 "\"D:\\v\\out\\a.mp4\"  "},
        LineCase{"mp4-ipad", nullptr,
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s 320x240 -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000   "
                 "\"D:\\v\\out\\a.mp4\"  "},
        LineCase{"flv", nullptr,
                 "\"C:\\T\\ffmpegx.exe\" -i " SRC " -y -f flv  \"D:\\v\\out\\a.flv\"  "},
        LineCase{"mp3", nullptr,
                 "\"C:\\T\\ffmpegx.exe\" -i " SRC " -y -f mp3 -ac 2  \"D:\\v\\out\\a.mp3\"  "},
        LineCase{"avi", "1280x720",
                 "\"C:\\T\\mencoder.exe\"  " SRC
                 " -mc 0  -oac mp3lame -lameopts aq=7:vbr=2:q=6 -srate 32000 -vf "
                 "scale=1280:720,harddup -ovc xvid -xvidencopts fixed_quant=8 -o  "
                 "\"D:\\v\\out\\a.avi\"  "},
        LineCase{"3gp", "352x288",
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f 3gp -vcodec h263  -b 200k -r 14.985 -s 352x288 -acodec libamr_nb -ac 1 -ar "
                 "8000 -ab 7.95k  \"D:\\v\\out\\a.3gp\"  "},
        LineCase{"mp4", "640x480",
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s 640x480 -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000  "
                 "\"D:\\v\\out\\a.mp4\"  "},
        LineCase{"mp4-psp", "480x272",
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s 480x272  -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000    "
                 "\"D:\\v\\out\\a.mp4\"  "},
        LineCase{"mp4-iphone", "480x320",
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s 480x320 -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000   "
                 "\"D:\\v\\out\\a.mp4\"  "},
        LineCase{"mp4-ipad", "1280x720",
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s 1280x720 -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000   "
                 "\"D:\\v\\out\\a.mp4\"  "},
        LineCase{"flv", "320x240",
                 "\"C:\\T\\ffmpegx.exe\" -i " SRC " -y -f flv -s 320x240  \"D:\\v\\out\\a.flv\"  "},
        LineCase{"mp3", "320x240",
                 "\"C:\\T\\ffmpegx.exe\" -i " SRC " -y -f mp3 -ac 2  \"D:\\v\\out\\a.mp3\"  "},
        // An empty resolution item is a chosen size like any other.
        LineCase{"mp4", "",
                 "\"C:\\T\\ffmpeg.exe\" -y -i " SRC
                 " -f mp4 -s  -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000  "
                 "\"D:\\v\\out\\a.mp4\"  "},
        // No radio button checked: no key, no command line.
        LineCase{"", nullptr, ""}, LineCase{"MP4", nullptr, ""}));
#undef SRC

TEST(CommandLine, FallbackRewriteSwitchesEncoderAndAudioCodec) {
  std::string first = Line("mp4", kKeep);
  EXPECT_EQ(RewriteForFallback(first),
            "\"C:\\T\\ffmpegx.exe\" -y -i  \"D:\\v\\a.flv\"  -f mp4 -vcodec mpeg4   -acodec faac "
            "-ac 2 -ab 64K  -ar 48000  \"D:\\v\\out\\a.mp4\"  ");
  std::string threeGp = Line("3gp", kKeep);
  std::string expected = threeGp;
  expected.replace(expected.find("ffmpeg.exe"), 10, "ffmpegx.exe");
  EXPECT_EQ(RewriteForFallback(threeGp), expected);
  for (const char* unchanged : {"flv", "mp3"})
    EXPECT_EQ(RewriteForFallback(Line(unchanged, kKeep)), Line(unchanged, kKeep));
  // Every occurrence counts, also inside the paths.
  EXPECT_EQ(RewriteForFallback("ffmpeg.exe libfaac libxvid \"C:\\libfaac\\ffmpeg.exe.flv\""),
            "ffmpegx.exe faac xvid \"C:\\faac\\ffmpegx.exe.flv\"");
}

TEST(CommandLine, BaseNameDropsExactlyFourCharacters) {
  EXPECT_EQ(BaseName("D:\\v\\clip.f4v"), "clip");
  EXPECT_EQ(BaseName("D:\\v\\a.b.mp4"), "a.b");
  EXPECT_EQ(BaseName("D:clip.flv"), "clip");
  EXPECT_EQ(BaseName("D:\\v\\.flv"), "");
  EXPECT_EQ(BaseName("D:\\v\\ab"), "");
  // "诶" is 0xDA 0x5C in code page 936: its second byte is not a folder separator.
  EXPECT_EQ(BaseName("D:\\v\\\xDA\x5C.flv"), "\xDA\x5C");
}

TEST(CommandLine, OutputPathJoinsFolderNameAndExtension) {
  EXPECT_EQ(OutputPath("avi", "D:\\v\\clip.f4v", "E:\\out\\"), "E:\\out\\clip.avi");
  EXPECT_EQ(OutputPath("mp4-psp", "D:\\v\\clip.f4v", "E:\\out\\"), "E:\\out\\clip.mp4");
  // An empty folder leaves a bare name, resolved against the encoder's working folder.
  EXPECT_EQ(OutputPath("mp3", "D:\\v\\clip.flv", ""), "clip.mp3");
}

TEST(FormatTable, EncoderAndFallbackOfEachKey) {
  struct Row {
    const char* key;
    const char* encoder;
    const char* extension;
    bool fallback;
  };
  for (Row row : {Row{"flv", "ffmpegx.exe", "flv", true}, Row{"3gp", "ffmpeg.exe", "3gp", true},
                  Row{"mp4", "ffmpeg.exe", "mp4", true}, Row{"mp4-psp", "ffmpeg.exe", "mp4", true},
                  Row{"mp4-iphone", "ffmpeg.exe", "mp4", true},
                  Row{"avi", "mencoder.exe", "avi", false}, Row{"mp3", "ffmpegx.exe", "mp3", true},
                  Row{"mp4-ipad", "ffmpeg.exe", "mp4", true}}) {
    auto format = FindFormat(row.key);
    ASSERT_TRUE(format) << row.key;
    EXPECT_EQ(format->encoder, row.encoder);
    EXPECT_EQ(format->extension, row.extension);
    EXPECT_EQ(format->hasFallback, row.fallback);
  }
  EXPECT_FALSE(FindFormat("Mp4"));
  EXPECT_EQ(OutputExtension("nothing"), "");
}

}  // namespace
