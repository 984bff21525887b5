#include <gtest/gtest.h>

#include "convert/CommandLine.h"
#include "encoders/EncoderRequest.h"
#include "encoders/EngineArguments.h"
#include "encoders/WindowsArguments.h"

namespace frontend {
namespace {

constexpr std::string_view kKeys[] = {"flv",        "3gp", "mp4", "mp4-psp",
                                      "mp4-iphone", "avi", "mp3", "mp4-ipad"};
// A program folder and paths with blanks and Chinese text in code page 936 ("转换").
const std::string kFolder = "C:\\Program Files\\Velmo";
const std::string kSource = "D:\\my videos\\\xD7\xAA\xBB\xBB clip.f4v";
const std::string kOutputFolder = "E:\\out put\\";

std::optional<FrontEndName> NameIn(const std::string& line) {
  std::string program = SplitWindowsCommandLine(line).front();
  return FrontEndFromFileName(program.substr(program.find_last_of('\\') + 1));
}

ParsedRequest Parse(const std::string& line) {
  auto name = NameIn(line);
  EXPECT_TRUE(name) << line;
  return ParseRequest(*name, SplitWindowsCommandLine(line));
}

// Every line the converter builds, first attempt and fallback, is understood as what it asks.
TEST(EncoderRequestTest, AcceptsEveryConverterLine) {
  struct Size {
    std::string text;
    SizeChoice choice;
    int width, height;
  } sizes[] = {{std::string(kKeepResolution), SizeChoice::Kept, 0, 0},
               {"640x480", SizeChoice::Chosen, 640, 480},
               {"1920x1080", SizeChoice::Chosen, 1920, 1080},
               {"", SizeChoice::Empty, 0, 0}};
  for (std::string_view key : kKeys) {
    for (const Size& size : sizes) {
      CommandLine built = BuildCommandLine({key, size.text, kSource, kOutputFolder, kFolder});
      for (bool fallback : {false, true}) {
        std::string line = fallback ? RewriteForFallback(built.text) : built.text;
        if (fallback && (key == "avi" || line == built.text)) continue;
        SCOPED_TRACE(line);
        ParsedRequest parsed = Parse(line);
        ASSERT_TRUE(parsed.request) << parsed.error;
        const EncoderRequest& request = *parsed.request;
        EXPECT_EQ(request.fallback, fallback);
        EXPECT_EQ(request.source, kSource);
        EXPECT_EQ(request.output, built.outputPath);
        // Some lines split into the same words (the mp4-psp line is the mp4 line with a chosen
        // 320x240); they ask for the same conversion, which is what must come out.
        EncoderRequest asked{std::string(key), fallback, size.choice,     size.width,
                             size.height,      kSource,  built.outputPath};
        EXPECT_EQ(EngineArguments(request), EngineArguments(asked));
      }
    }
  }
}

TEST(EncoderRequestTest, NamesFollowTheFileNameCaseInsensitively) {
  EXPECT_EQ(FrontEndFromFileName("FFMPEG.EXE"), FrontEndName::Ffmpeg);
  EXPECT_EQ(FrontEndFromFileName("ffmpegx.exe"), FrontEndName::FfmpegX);
  EXPECT_EQ(FrontEndFromFileName("MEncoder.exe"), FrontEndName::Mencoder);
  EXPECT_EQ(FrontEndFromFileName("ffmpeg_x.exe"), std::nullopt);
}

// Anything else is refused with a reason, never guessed at.
TEST(EncoderRequestTest, RefusesOtherLines) {
  std::string mp4 =
      BuildCommandLine({"mp4", kKeepResolution, kSource, kOutputFolder, kFolder}).text;
  std::string avi = BuildCommandLine({"avi", "640x480", kSource, kOutputFolder, kFolder}).text;
  auto replaced = [](std::string text, std::string_view from, std::string_view to) {
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  struct Case {
    const char* what;
    FrontEndName name;
    std::string line;
    std::string_view reason;
  } cases[] = {
      {"no arguments", FrontEndName::Ffmpeg, "ffmpeg.exe", "unsupported command line"},
      {"a plain engine line", FrontEndName::Ffmpeg, "ffmpeg.exe -i a.flv b.mp4",
       "unsupported command line"},
      {"an unknown codec", FrontEndName::Ffmpeg, replaced(mp4, "libfaac", "libvorbis"),
       "unsupported command line"},
      {"an option too many", FrontEndName::Ffmpeg, replaced(mp4, "-f mp4", "-f mp4 -an"),
       "unsupported command line"},
      {"a key of another program", FrontEndName::Mencoder, mp4, "unsupported command line"},
      {"fallback codec under the first name", FrontEndName::Ffmpeg,
       replaced(mp4, "libfaac", "faac"), "unsupported command line"},
      {"output missing", FrontEndName::Ffmpeg, mp4.substr(0, mp4.rfind(" \"")),
       "unsupported command line"},
      {"empty output", FrontEndName::Ffmpeg, mp4.substr(0, mp4.rfind(" \"")) + " \"\"",
       "must not be empty"},
      {"size not WxH", FrontEndName::Ffmpeg,
       BuildCommandLine({"mp4", "big", kSource, kOutputFolder, kFolder}).text,
       "unsupported picture size"},
      {"size too large", FrontEndName::Ffmpeg,
       BuildCommandLine({"3gp", "9000x9000", kSource, kOutputFolder, kFolder}).text,
       "unsupported picture size"},
      {"size zero", FrontEndName::Mencoder, replaced(avi, "640:480", "0:480"),
       "unsupported picture size"},
  };
  for (const Case& c : cases) {
    ParsedRequest parsed = ParseRequest(c.name, SplitWindowsCommandLine(c.line));
    EXPECT_FALSE(parsed.request) << c.what;
    EXPECT_NE(parsed.error.find(c.reason), std::string::npos) << c.what << ": " << parsed.error;
  }
}

}  // namespace
}  // namespace frontend
