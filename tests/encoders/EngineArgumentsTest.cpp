#include <gtest/gtest.h>

#include <algorithm>

#include "encoders/EngineArguments.h"

namespace frontend {
namespace {

EncoderRequest Request(std::string key, SizeChoice size = SizeChoice::Kept, int width = 0,
                       int height = 0) {
  return {std::move(key), false, size, width, height, "D:\\in.flv", "-odd:name.out"};
}

// The value after an option, "" when the option is absent.
std::string ValueOf(const std::vector<std::string>& args, std::string_view option) {
  auto at = std::find(args.begin(), args.end(), option);
  return at == args.end() || at + 1 == args.end() ? "" : *(at + 1);
}

TEST(EngineArgumentsTest, EachTargetGetsItsCodecsAndRates) {
  struct Case {
    std::string key;
    std::string format, video, audio, rate, channels;
  } cases[] = {
      {"3gp", "3gp", "h263", "libopencore_amrnb", "8000", "1"},
      {"mp4", "mp4", "mpeg4", "aac", "48000", "2"},
      {"mp4-psp", "mp4", "mpeg4", "aac", "48000", "2"},
      {"mp4-iphone", "mp4", "mpeg4", "aac", "48000", "2"},
      {"mp4-ipad", "mp4", "mpeg4", "aac", "48000", "2"},
      {"avi", "avi", "libxvid", "libmp3lame", "32000", "2"},
      {"flv", "flv", "flv1", "libmp3lame", "44100", ""},
      {"mp3", "mp3", "", "libmp3lame", "", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    std::vector<std::string> args = EngineArguments(Request(c.key));
    EXPECT_EQ(ValueOf(args, "-f"), c.format);
    EXPECT_EQ(ValueOf(args, "-c:v"), c.video);
    EXPECT_EQ(ValueOf(args, "-c:a"), c.audio);
    EXPECT_EQ(ValueOf(args, "-ar"), c.rate);
    EXPECT_EQ(ValueOf(args, "-ac"), c.channels);
    // Never waits for an answer, reports progress on standard output, reads and writes
    // files only.
    EXPECT_NE(std::find(args.begin(), args.end(), "-nostdin"), args.end());
    EXPECT_NE(std::find(args.begin(), args.end(), "-y"), args.end());
    EXPECT_EQ(ValueOf(args, "-progress"), "pipe:1");
    EXPECT_EQ(ValueOf(args, "-i"), "file:D:\\in.flv");
    EXPECT_EQ(args.back(), "file:-odd:name.out");
  }
  EXPECT_NE(
      std::find_if(EngineArguments(Request("mp3")).begin(), EngineArguments(Request("mp3")).end(),
                   [](const std::string& a) { return a == "-vn"; }),
      EngineArguments(Request("mp3")).end());
}

TEST(EngineArgumentsTest, PictureSizes) {
  struct Case {
    EncoderRequest request;
    std::string option, value;
  } cases[] = {
      {Request("mp4"), "-s", ""},
      {Request("mp4", SizeChoice::Empty), "-s", ""},
      {Request("mp4", SizeChoice::Chosen, 640, 480), "-s", "640x480"},
      {Request("mp4-psp"), "-s", "320x240"},
      {Request("mp4-ipad", SizeChoice::Empty), "-s", ""},
      {Request("mp4-iphone", SizeChoice::Chosen, 480, 320), "-s", "480x320"},
      {Request("flv", SizeChoice::Chosen, 351, 240), "-s", "352x240"},  // 4:2:0 needs even
      {Request("avi"), "-vf", "scale='round(iw/16)*16':'round(ih/16)*16'"},
      {Request("avi", SizeChoice::Chosen, 720, 480), "-vf", "scale=720:480"},
      {Request("3gp"), "-vf",
       "scale=176:144:force_original_aspect_ratio=decrease,pad=176:144:(ow-iw)/2:(oh-ih)/2,"
       "setsar=1"},
      {Request("3gp", SizeChoice::Chosen, 640, 480), "-vf",
       "scale=352:288:force_original_aspect_ratio=decrease,pad=352:288:(ow-iw)/2:(oh-ih)/2,"
       "setsar=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.request.key + " " + std::to_string(c.request.width));
    EXPECT_EQ(ValueOf(EngineArguments(c.request), c.option), c.value);
  }
}

TEST(EngineArgumentsTest, H263TakesTheLargestStandardFrameThatFits) {
  struct Case {
    FrameSize chosen, frame;
  } cases[] = {
      {{176, 144}, {176, 144}},   {{320, 240}, {176, 144}},     {{352, 240}, {176, 144}},
      {{352, 288}, {352, 288}},   {{720, 480}, {352, 288}},     {{1280, 720}, {704, 576}},
      {{1920, 1080}, {704, 576}}, {{1440, 1152}, {1408, 1152}}, {{160, 120}, {128, 96}},
      {{16, 16}, {128, 96}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(H263FrameFor(c.chosen), c.frame) << c.chosen.width << "x" << c.chosen.height;
}

}  // namespace
}  // namespace frontend
